// The main window's own handlers: close and Exit, the links, the update
// check and the temporary-files command.
#include <wx/checkbox.h>

#include "appUtils.h"
#include "mainFrame.h"

void mainFrame::CloseDown() {
  encodeControl.UnregisterSourceFilter();
  Destroy();
}

// While an encode runs (the hidden running flag is ticked) the window must
// stay: the run's worker and engine objects belong to it.
void mainFrame::OnCloseWindow(wxCloseEvent& event) {
  if (runningCheck && runningCheck->GetValue()) {
    if (event.CanVeto()) event.Veto();
    return;
  }
  CloseDown();
}

// The Exit command is disabled during a run; the flag is looked at all the
// same, as destroying the window under a running encode would pull the
// controls from under it.
void mainFrame::OnExitSelected(wxCommandEvent&) {
  if (runningCheck && runningCheck->GetValue()) return;
  CloseDown();
}

void mainFrame::OnCheckUpdatesSelected(wxCommandEvent&) { AppUtils().AskUpdate(this); }

void mainFrame::OnOnlineHelpTool(wxCommandEvent&) { AppUtils().OpenInBrowser(AppUtils().GetSupportUrl()); }

void mainFrame::OnOnlineHelpSelected(wxCommandEvent&) { AppUtils().OpenInBrowser(AppUtils().GetSupportUrl()); }

void mainFrame::OnVisitWebsiteSelected(wxCommandEvent&) { AppUtils().OpenInBrowser(AppUtils().GetHomePageUrl()); }

void mainFrame::OnTempDirSelected(wxCommandEvent&) { encodeControl.ShowTempDirDialog(this); }

void mainFrame::OnSkipEvent(wxCommandEvent& event) { event.Skip(); }
