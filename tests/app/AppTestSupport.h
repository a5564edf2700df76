// What the window tests share: a frame built over a configuration and a
// program directory of the test's own, a launcher that records instead of
// starting, and the expectations for this program's own dialogs.
#pragma once

#include <gtest/gtest.h>
#include <wx/dirdlg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>
#include <wx/tooltip.h>

#include <functional>
#include <string>
#include <vector>

#include "Launcher.h"

/// The dialog hook of these tests: a failure fails the test, and a dialog no
/// expectation took is dismissed (Cancel) instead of being shown for real,
/// where it would wait for a person.
class OstrelTestHook : public wxTestingModalHook {
 public:
  OstrelTestHook(const char* file, int line, const char* func) : wxTestingModalHook(file, line, func) {}

 protected:
  int Enter(wxDialog* dialog) override {
    const int code = wxTestingModalHook::Enter(dialog);
    if (code != wxID_NONE) return code;
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
      return box->HasFlag(wxYES_NO) ? wxID_NO : wxID_OK;
    }
    return wxID_CANCEL;
  }
  void ReportFailure(const wxString& message) override { ADD_FAILURE() << message; }
};

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS OstrelTestHook

/// Runs the code and fails the test if it shows any modal dialog.
#define EXPECT_NO_DIALOG(code)                                   \
  {                                                              \
    OstrelTestHook noDialogHook(__FILE__, __LINE__, __func__);   \
    code;                                                        \
  }
#include "mainFrame.h"
#include "tmpFileRootDialog.h"

/// True once the window has been destroyed (top-level windows go at the next idle time).
bool IsDestroyed(wxWindow* window);

/// Sends a command event of the kind with the id to the window, as a click would.
void SendCommand(wxWindow* target, wxEventType type, int id, int checked = -1);

/// The repository's default_streams.xml, shipped beside the program.
std::string ShippedDefaultStreamsPath();
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

/// Records what would have been started.
class RecordingLauncher : public Launcher {
 public:
  bool OpenInBrowser(const std::string& address, std::function<void()> failedLater) override {
    addresses.push_back(address);
    browserFailure = std::move(failedLater);
    return browserStarts;
  }
  bool StartDetached(const std::string& commandLine, const std::string& workingDir) override {
    commands.push_back(commandLine);
    workingDirs.push_back(workingDir);
    return startSucceeds;
  }
  std::vector<std::string> addresses;
  std::vector<std::string> commands;
  std::vector<std::string> workingDirs;
  bool startSucceeds = true;
  bool browserStarts = true;
  /// What the launcher was told to call should the browser fail after starting.
  std::function<void()> browserFailure;
};

/// A fresh configuration, a program directory of the test's own (holding the
/// shipped default_streams.xml unless told otherwise), and the launcher
/// replaced by a recorder.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Stores a temporary-files directory, so that building a frame asks nothing.
  void ConfigureTempDir(const wxString& directory = "/tmp");
  /// Builds the main window; every dialog it shows must be expected by the caller.
  mainFrame* BuildFrame();
  /// Builds it with a configured temporary directory and the shipped profiles,
  /// failing the test if any dialog appears.
  mainFrame* BuildQuietFrame();
  /// Runs the deletion of windows destroyed by the code under test.
  void DeletePendingWindows();

  std::string programDir;
  RecordingLauncher launcher;
  mainFrame* frame = nullptr;
};

/// A message box expected with the exact text; answers it with `answer`.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  ExpectMessage(const wxString& message, int answer, std::function<void()> check = {})
      : message(message), answer(ToId(answer)), check(std::move(check)) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_EQ(dialog->GetMessage(), message);
    if (check) check();
    return answer;
  }
  wxString GetDefaultDescription() const override { return "message box \"" + message + "\""; }

 private:
  // wxYES and its kin name answers; the dialog returns wxID_YES and its kin.
  static int ToId(int answer) {
    switch (answer) {
      case wxYES: return wxID_YES;
      case wxNO: return wxID_NO;
      case wxOK: return wxID_OK;
      case wxCANCEL: return wxID_CANCEL;
      default: return answer;
    }
  }

  wxString message;
  int answer;
  std::function<void()> check;
};

/// A message box expected with its text, caption and buttons, default and icon
/// (the style bits wxYES_NO, wxOK, wxNO_DEFAULT, wxCENTRE and the icon);
/// answers it with `answer`.
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
 public:
  ExpectBox(const wxString& message, const wxString& caption, long style, int answer)
      : message(message), caption(caption), style(style), answer(answer) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_EQ(dialog->GetMessage(), message);
    EXPECT_EQ(dialog->GetCaption(), caption) << message;
    const long shown = wxYES_NO | wxOK | wxNO_DEFAULT | wxCENTRE | wxICON_MASK;
    EXPECT_EQ(dialog->GetMessageDialogStyle() & shown, style) << message;
    return answer;
  }
  wxString GetDefaultDescription() const override { return "message box \"" + message + "\""; }

 private:
  wxString message;
  wxString caption;
  long style;
  int answer;
};

/// The temporary-files dialog: an action on it, then the code it ends with.
template <>
class wxExpectModal<tmpFileRootDialog> : public wxExpectModalBase<tmpFileRootDialog> {
 public:
  wxExpectModal(std::function<void(tmpFileRootDialog*)> action, int code)
      : action(std::move(action)), code(code) {}

 protected:
  int OnInvoked(tmpFileRootDialog* dialog) const override {
    if (action) action(dialog);
    return code;
  }

 private:
  std::function<void(tmpFileRootDialog*)> action;
  int code;
};

/// The directory chooser, answered with the button only: on this toolkit a
/// path set from outside does not become the chooser's result.
template <>
class wxExpectModal<wxDirDialog> : public wxExpectModalBase<wxDirDialog> {
 public:
  explicit wxExpectModal(int answer) : id(answer == wxCANCEL ? wxID_CANCEL : answer) {}

 protected:
  int OnInvoked(wxDirDialog* dialog) const override {
    EXPECT_EQ(dialog->GetMessage(), "Select Directory for temporary files");
    return id;
  }

 private:
  int id;
};
