// The application object: one instance at a time, the configuration's
// location, the image handlers, the main window, the daily update offer.
#pragma once

#include <wx/app.h>

class mainFrame;
class wxSingleInstanceChecker;

class OstrelApp : public wxApp {
  wxDECLARE_CLASS(OstrelApp);

 public:
  bool OnInit() override;
  int OnExit() override;

  /// The start-up steps in their order, on the given application object:
  /// instance check, names, image handlers, main window (which may ask for
  /// the temporary-files directory), daily update offer, Show. Returns the
  /// window (not shown when a started updater has closed it), or null when
  /// another instance runs, after "Ostrel is already running !" has gone to
  /// the toolkit's error log (a box) and to stderr.
  static mainFrame* Start(wxAppConsole& app);

  /// The single-instance name (on this platform a lock file in the home directory).
  static wxString InstanceName();

  /// Lets go of the single instance: its lock file goes. Called by OnExit.
  static void EndSingleInstance();
};
