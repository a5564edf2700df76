// What the publishing and command tests add to the window tests' support: a
// log that keeps the errors it is given, and a Yes/No question checked for
// its text, caption, buttons and icon.
#pragma once

#include "AppTestSupport.h"

#include <wx/log.h>
#include <wx/msgdlg.h>

#include <string>
#include <vector>

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

/// Expects a Yes/No question with No preselected and a question icon, with
/// this text and caption, and answers it (wxID_YES or wxID_NO).
class ExpectYesNo : public wxExpectModalBase<wxMessageDialog, ExpectYesNo> {
 public:
  ExpectYesNo(const wxString& text, const wxString& caption, int answer)
      : text_(text), caption_(caption), answer_(answer) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_EQ(dialog->GetMessage(), text_);
    EXPECT_EQ(dialog->GetCaption(), caption_);
    const long style = dialog->GetMessageDialogStyle();
    EXPECT_TRUE(style & wxYES_NO);
    EXPECT_TRUE(style & wxNO_DEFAULT);
    EXPECT_TRUE(style & wxICON_QUESTION);
    return answer_;
  }
  wxString GetDefaultDescription() const override { return "question \"" + text_ + "\""; }

 private:
  wxString text_, caption_;
  int answer_;
};

/// Expects a message box whose text begins with `prefix`, keeps the whole
/// text in `*text` and answers it.
class ExpectMessageStartingWith
    : public wxExpectModalBase<wxMessageDialog, ExpectMessageStartingWith> {
 public:
  ExpectMessageStartingWith(const wxString& prefix, int answer, wxString* text = nullptr)
      : prefix_(prefix), answer_(answer), text_(text) {}

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_TRUE(dialog->GetMessage().StartsWith(prefix_)) << dialog->GetMessage();
    if (text_) *text_ = dialog->GetMessage();
    return answer_;
  }
  wxString GetDefaultDescription() const override {
    return "message box starting \"" + prefix_ + "\"";
  }

 private:
  wxString prefix_;
  int answer_;
  wxString* text_;
};
