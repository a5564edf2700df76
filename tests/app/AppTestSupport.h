// What the main window's tests share: a frame built over a configuration and
// a program directory of the test's own, a launcher that records instead of
// starting, a log that keeps the errors it is given, and the expectation for
// the program's temporary-files dialog. Message boxes, questions and file and
// folder choosers are answered through the window tests' one set of
// expectations (ModalExpectations.h).
#pragma once

#include <gtest/gtest.h>
#include <wx/log.h>
#include <wx/tooltip.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Launcher.h"
#include "ModalExpectations.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "mainFrame.h"
#include "tmpFileRootDialog.h"

/// True once the window has been destroyed (top-level windows go at the next idle time).
bool IsDestroyed(wxWindow* window);

/// Sends a command event of the kind with the id to the window, as a click would.
void SendCommand(wxWindow* target, wxEventType type, int id, int checked = -1);

/// The repository's default_streams.xml, shipped beside the program.
std::string ShippedDefaultStreamsPath();

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

  std::unique_ptr<TempDir> programFolder;
  std::string programDir;
  RecordingLauncher launcher;
  mainFrame* frame = nullptr;
};

/// The temporary-files dialog: an action on it, then the code it ends with.
template <>
class wxExpectModal<tmpFileRootDialog> : public wxExpectModalBase<tmpFileRootDialog> {
 public:
  wxExpectModal(std::function<void(tmpFileRootDialog*)> action, int code) : action(std::move(action)), code(code) {}

 protected:
  int OnInvoked(tmpFileRootDialog* dialog) const override {
    if (action) action(dialog);
    return code;
  }

 private:
  std::function<void(tmpFileRootDialog*)> action;
  int code;
};

/// Catches what goes to the toolkit's log while it lives.
class CapturedLog : public wxLog {
 public:
  CapturedLog() : previous_(wxLog::SetActiveTarget(this)) {}
  ~CapturedLog() override { wxLog::SetActiveTarget(previous_); }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  /// The error messages, in order.
  std::vector<std::string> errors;

  bool HasErrorContaining(const std::string& part) const {
    for (const std::string& e : errors) {
      if (e.find(part) != std::string::npos) return true;
    }
    return false;
  }

 protected:
  void DoLogTextAtLevel(wxLogLevel level, const wxString& text) override {
    if (level <= wxLOG_Error) errors.push_back(std::string(text.utf8_str()));
  }

 private:
  wxLog* previous_;
};
