// The application's utility object: the web links, the once-a-day update
// offer, the updater launch, the integer and file-name checks, time
// formatting, the browser and the program's directory. One instance lives for
// the whole process (`AppUtils()`).
#pragma once

#include <wx/string.h>

#include <memory>

#include "Launcher.h"

class wxFrame;
class wxWindow;

class appUtils {
 public:
  appUtils();
  ~appUtils();
  appUtils(const appUtils&) = delete;
  appUtils& operator=(const appUtils&) = delete;

  wxString GetHomePageUrl() const { return homePageUrl; }
  wxString GetSupportUrl() const { return supportUrl; }
  wxString GetJavaDownloadUrl() const { return javaDownloadUrl; }

  /// Offers the updater once per calendar day (key "/General/CFU").
  void CheckForUpdatesDaily(wxFrame* mainWindow);
  /// The same with a given date, "%Y-%m-%d" (tests fix the day).
  void CheckForUpdatesOn(wxFrame* mainWindow, const wxString& today);
  /// Today's local date as "%Y-%m-%d".
  wxString FormatToday() const;
  /// "Do you want to check if there is an update available ?"; Yes starts the updater.
  void AskUpdate(wxFrame* mainWindow);
  /// Starts the updater beside the executable, then closes the main window
  /// with force so that it can replace the program's files. When the updater
  /// is missing or cannot be started the user is told and the program goes on.
  void LaunchUpdater(wxFrame* mainWindow, bool saveLog, bool restart, const wxString& resourceFile,
                     const wxString& resourceName, const wxString& descriptionFile, const wxString& address);

  /// True when the value is digits only; otherwise says label + " only integer value".
  bool IsIntegerField(const wxString& label, const wxString& value);
  wxString FormatHMS(int seconds) const;
  bool IsValidFileName(const wxString& name) const;
  /// Opens the page in the desktop's default browser; true when one was
  /// started. When none can be, the user is told so, with the address.
  bool OpenInBrowser(const wxString& address);
  /// The program's directory (see FindAppPathIn), or empty.
  wxString FindAppPath(const wxString& argv0, const wxString& currentDir, const wxString& variableName) const;

  /// Replaces the launcher (tests record commands instead of starting them);
  /// null goes back to the real one. Not owned.
  void SetLauncher(Launcher* launcher);
  Launcher& GetLauncher();

 private:
  wxString homePageUrl;
  wxString supportUrl;
  wxString javaDownloadUrl;
  std::unique_ptr<Launcher> systemLauncher;
  Launcher* launcher = nullptr;
};

/// The one utility object, made at static initialisation and never destroyed.
appUtils& AppUtils();
