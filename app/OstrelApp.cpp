// The application object.
#include "OstrelApp.h"

#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/msgout.h>
#include <wx/snglinst.h>

#include "DesktopLook.h"
#include "appUtils.h"
#include "mainFrame.h"

wxIMPLEMENT_CLASS(OstrelApp, wxApp);

namespace {

// Held until the application exits (EndSingleInstance).
wxSingleInstanceChecker* g_instanceChecker = nullptr;

}  // namespace

wxString OstrelApp::InstanceName() { return "{8DA5E1E7-654E-4241-B9A9-F7D0D563AAA5}"; }

mainFrame* OstrelApp::Start(wxAppConsole& app) {
  if (!g_instanceChecker) g_instanceChecker = new wxSingleInstanceChecker(InstanceName(), wxEmptyString);
  if (g_instanceChecker->IsAnotherRunning()) {
    // Started from a desktop, only the error log's box tells the user why no
    // window comes; started from a terminal, stderr says it too.
    const wxString message = _("Ostrel is already running !");
    wxMessageOutputStderr().Output(message);
    wxLogError(message);
    wxLog::FlushActive();
    return nullptr;
  }
  app.SetVendorName("Harwelco");
  app.SetAppName("Ostrel 3");

  wxImage::AddHandler(new wxXPMHandler);
  wxImage::AddHandler(new wxPNGHandler);
  wxImage::AddHandler(new wxJPEGHandler);
  wxImage::AddHandler(new wxGIFHandler);

  ApplyDesktopLook();
  auto* frame = new mainFrame(nullptr, ID_MAIN_FRAME, _("Ostrel"), wxDefaultPosition, wxSize(900, 700),
                              mainFrame::DefaultStyle());
  AppUtils().CheckForUpdatesDaily(frame);
  // An updater started from the daily question has closed the window so that
  // it can replace the program's files: the window goes at the first idle
  // time and must not appear meanwhile.
  if (!wxPendingDelete.Member(frame)) frame->Show(true);
  return frame;
}

bool OstrelApp::OnInit() { return Start(*this) != nullptr; }

// A normal end removes the lock file; after a crash the next start finds a
// lock of a process that is gone, which the checker takes as no instance.
void OstrelApp::EndSingleInstance() {
  delete g_instanceChecker;
  g_instanceChecker = nullptr;
}

int OstrelApp::OnExit() {
  EndSingleInstance();
  return wxApp::OnExit();
}
