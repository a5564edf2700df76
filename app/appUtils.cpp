// The application's utility object.
#include "appUtils.h"

#include <wx/config.h>
#include <wx/datetime.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "AppPathSearch.h"
#include "ClockText.h"
#include "FieldRules.h"
#include "ProgramDirectory.h"
#include "SystemLauncher.h"
#include "UpdateCheck.h"
#include "WxText.h"

namespace {

// Made before main runs, as the callers expect it to be there from the start.
[[maybe_unused]] appUtils& theAppUtils = AppUtils();

}  // namespace

appUtils& AppUtils() {
  static appUtils* const instance = new appUtils;
  return *instance;
}

appUtils::appUtils()
    : homePageUrl("http://www.harwelco.com/"),
      supportUrl("http://www.harwelco.com/support/ostrel/"),
      javaDownloadUrl("http://www.harwelco.com/java/"),
      systemLauncher(std::make_unique<SystemLauncher>()) {}

appUtils::~appUtils() = default;

void appUtils::SetLauncher(Launcher* replacement) { launcher = replacement; }

Launcher& appUtils::GetLauncher() { return launcher ? *launcher : *systemLauncher; }

void appUtils::CheckForUpdatesDaily(wxFrame* mainWindow) { CheckForUpdatesOn(mainWindow, FormatToday()); }

void appUtils::CheckForUpdatesOn(wxFrame* mainWindow, const wxString& today) {
  wxConfigBase* config = wxConfigBase::Get();
  if (!config) return;
  const wxString stored = config->Read("/General/CFU", wxString());
  if (!IsUpdateQuestionDue(ToUtf8(stored), ToUtf8(today))) return;
  // Stored before the question: it comes at most once a day whatever the answer.
  config->Write("/General/CFU", today);
  config->Flush();
  AskUpdate(mainWindow);
}

wxString appUtils::FormatToday() const { return wxDateTime::Now().Format("%Y-%m-%d"); }

void appUtils::AskUpdate(wxFrame* mainWindow) {
  const int answer = wxMessageBox(_("Do you want to check if there is an update available ?"),
                                  _("Ostrel update manager"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  if (answer != wxYES) return;
  const UpdaterOptions options = DefaultUpdaterOptions();
  LaunchUpdater(mainWindow, options.saveLog, options.restart, wxString::FromUTF8(options.resourceFile),
                wxString::FromUTF8(options.resourceName), wxString::FromUTF8(options.descriptionFile),
                wxString::FromUTF8(options.address));
}

void appUtils::LaunchUpdater(wxFrame* mainWindow, bool saveLog, bool restart, const wxString& resourceFile,
                             const wxString& resourceName, const wxString& descriptionFile, const wxString& address) {
  UpdaterOptions options;
  options.saveLog = saveLog;
  options.restart = restart;
  options.resourceFile = ToUtf8(resourceFile);
  options.resourceName = ToUtf8(resourceName);
  options.descriptionFile = ToUtf8(descriptionFile);
  options.address = ToUtf8(address);

  const wxString directory = GetProgramDirectory();
  wxSetWorkingDirectory(directory);
  const wxString program = wxFileName(directory, kUpdaterProgram).GetFullPath();
  // Closing the window ends the program; that is worth doing only for an
  // updater that really started, or the user loses the program for nothing.
  bool started = false;
  if (wxFileName::IsFileExecutable(program)) {
    const std::string commandLine = "\"" + ToUtf8(program) + "\"" + UpdaterArguments(options);
    started = GetLauncher().StartDetached(commandLine, ToUtf8(directory));
  }
  if (!started) {
    wxMessageBox(wxString::Format(_("The update program could not be started:\n%s"), program),
                 _("Ostrel update manager"), wxOK | wxICON_ERROR | wxCENTRE);
    return;
  }
  if (mainWindow) mainWindow->Close(true);
}

bool appUtils::IsIntegerField(const wxString& label, const wxString& value) {
  if (IsDigitsOnly(ToUtf8(value))) return true;
  wxMessageBox(label + _(" only integer value"), _("Message"), wxOK | wxCENTRE);
  return false;
}

wxString appUtils::FormatHMS(int seconds) const { return wxString(::FormatHMS(seconds)); }

bool appUtils::IsValidFileName(const wxString& name) const { return IsAllowedFileName(ToUtf8(name)); }

bool appUtils::OpenInBrowser(const wxString& address) {
  // Whether the opener could not start or found no browser, the user is
  // told, with the address to open by hand.
  const auto tellUser = [address] {
    wxMessageBox(wxString::Format(_("The web browser could not be started.\n"
                                    "Please open this address in your browser:\n%s"),
                                  address),
                 _("Message"), wxOK | wxICON_ERROR);
  };
  if (GetLauncher().OpenInBrowser(ToUtf8(address), tellUser)) return true;
  tellUser();
  return false;
}

wxString appUtils::FindAppPath(const wxString& argv0, const wxString& currentDir, const wxString& variableName) const {
  AppPathInputs in;
  in.argv0 = ToUtf8(argv0);
  in.currentDir = ToUtf8(currentDir);
  wxString value;
  if (!variableName.empty() && wxGetEnv(variableName, &value)) in.overrideValue = ToUtf8(value);
  if (wxGetEnv("PATH", &value)) in.pathValue = ToUtf8(value);
  in.fileExists = [](const std::string& path) { return wxFileExists(wxString::FromUTF8(path)); };
  return wxString::FromUTF8(FindAppPathIn(in));
}
