// The main window's own handlers: close and Exit, the links, the update
// check, the temporary-files command, the grid's buttons, the two size check
// boxes and the grid's size rule.
#include <wx/checkbox.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "StreamChoices.h"
#include "StreamProfileRows.h"
#include "appUtils.h"
#include "mainFrame.h"

namespace {

// The stream buttons' questions: caption "Ostrel", No preselected, no parent.
bool AskOstrel(const wxString& question) {
  return wxMessageBox(question, _("Ostrel"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION) == wxYES;
}

}  // namespace

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

void mainFrame::OnOnlineHelpTool(wxCommandEvent&) {
  AppUtils().OpenInBrowser(AppUtils().GetSupportUrl());
}

void mainFrame::OnOnlineHelpSelected(wxCommandEvent&) {
  AppUtils().OpenInBrowser(AppUtils().GetSupportUrl());
}

void mainFrame::OnVisitWebsiteSelected(wxCommandEvent&) {
  AppUtils().OpenInBrowser(AppUtils().GetHomePageUrl());
}

void mainFrame::OnTempDirSelected(wxCommandEvent&) { encodeControl.ShowTempDirDialog(this); }

void mainFrame::OnClearRows(wxCommandEvent&) {
  if (!streamsGrid->IsSelection()) {
    wxMessageBox(_("Select row/s"), _("Message"), wxOK);
    return;
  }
  const int answer = wxMessageBox(_("Do you really want clear the selected row/s ?"), _("Question"),
                                  wxYES_NO | wxICON_QUESTION, this);
  if (answer != wxYES) return;
  for (int row = 0; row < kStreamRowCount; ++row) {
    if (!streamsGrid->IsInSelection(row, kColumnEncode)) continue;
    for (int col = 0; col < kStreamColumnCount; ++col) streamsGrid->SetCellValue(row, col, wxEmptyString);
  }
}

void mainFrame::OnSaveDefaultStreams(wxCommandEvent&) {
  if (AskOstrel(_("Save streams settings as default ?"))) SaveDefaultStreams();
}

void mainFrame::OnLoadDefaultStreams(wxCommandEvent&) {
  if (AskOstrel(_("Load deafult streams settings ?"))) LoadDefaultStreams();
}

void mainFrame::OnResetStreams(wxCommandEvent&) {
  if (AskOstrel(_("Reset to factory streams settings ?"))) ResetStreamsToFactory();
}

// Setting the other box from code raises no event, so its enablement and the
// column locks are brought in line here.
void mainFrame::OnMaintainAspectRatio(wxCommandEvent&) {
  if (aspectRatioCheck->GetValue()) {
    sourceDimensionCheck->SetValue(false);
    sourceDimensionCheck->Disable();
  } else {
    sourceDimensionCheck->Enable();
  }
  UpdateAspectRatioColumns();
}

void mainFrame::OnMaintainSourceDimension(wxCommandEvent&) {
  if (sourceDimensionCheck->GetValue()) {
    aspectRatioCheck->SetValue(false);
    aspectRatioCheck->Disable();
  } else {
    aspectRatioCheck->Enable();
  }
  UpdateSourceDimensionColumns();
}

void mainFrame::OnGridCellChange(wxGridEvent& event) {
  const int col = event.GetCol();
  if (col != kColumnWidth && col != kColumnHeight) return;
  wxGrid* grid = wxDynamicCast(event.GetEventObject(), wxGrid);
  if (!grid) grid = streamsGrid;
  const int row = event.GetRow();
  std::string raised;
  if (RaiseToSizeStep(std::string(grid->GetCellValue(row, col).utf8_str()), &raised)) {
    grid->SetCellValue(row, col, wxString::FromUTF8(raised));
  }
}

void mainFrame::OnSkipEvent(wxCommandEvent& event) { event.Skip(); }
