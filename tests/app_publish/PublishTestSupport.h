// Helpers of the publishing tests: a launcher that records instead of
// starting anything, and a log that keeps the errors it is given.
#pragma once

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <string>
#include <vector>

#include "Launcher.h"
#include "appUtils.h"

/// Put in place of the real launcher for the lifetime of the object.
class RecordingLauncher : public Launcher {
 public:
  RecordingLauncher() { AppUtils().SetLauncher(this); }
  ~RecordingLauncher() override { AppUtils().SetLauncher(nullptr); }
  RecordingLauncher(const RecordingLauncher&) = delete;
  RecordingLauncher& operator=(const RecordingLauncher&) = delete;

  bool OpenInBrowser(const std::string& address) override {
    opened.push_back(address);
    return true;
  }
  bool StartDetached(const std::string& commandLine, const std::string&) override {
    started.push_back(commandLine);
    return true;
  }

  std::vector<std::string> opened;
  std::vector<std::string> started;
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

/// While it lives, every modal dialog is counted and dismissed at once
/// instead of waiting for a person: for code that must show none.
class ModalCounter : public wxModalDialogHook {
 public:
  ModalCounter() { Register(); }
  ~ModalCounter() override { Unregister(); }
  ModalCounter(const ModalCounter&) = delete;
  ModalCounter& operator=(const ModalCounter&) = delete;

  int shown = 0;

 protected:
  int Enter(wxDialog*) override {
    ++shown;
    return wxID_CANCEL;
  }
  void Exit(wxDialog*) override {}
};

/// Expects a Yes/No question with No preselected and a question icon, with
/// this text and caption, and answers it.
class ExpectYesNo : public wxExpectModalBase<wxMessageDialog, ExpectYesNo> {
 public:
  ExpectYesNo(const wxString& text, const wxString& caption, int answer)
      : text_(text), caption_(caption), answer_(answer) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override;

 private:
  wxString text_, caption_;
  int answer_;
};

inline int ExpectYesNo::OnInvoked(wxMessageDialog* dialog) const {
  EXPECT_EQ(dialog->GetMessage(), text_);
  EXPECT_EQ(dialog->GetCaption(), caption_);
  const long style = dialog->GetMessageDialogStyle();
  EXPECT_TRUE(style & wxYES_NO);
  EXPECT_TRUE(style & wxNO_DEFAULT);
  EXPECT_TRUE(style & wxICON_QUESTION);
  return answer_;
}
