// Answers to the window's modal dialogs for tests: every failure becomes a
// GoogleTest failure (never an assertion box), an unexpected dialog is
// dismissed instead of waiting for a person, and message boxes are checked
// for their text, caption and icon.
#pragma once

#define wxTEST_DIALOG_HOOK_CLASS GtestModalHook
#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <functional>

class GtestModalHook : public wxTestingModalHook {
 public:
  GtestModalHook(const char* file, int line, const char* func) : wxTestingModalHook(file, line, func) {}

 protected:
  int Enter(wxDialog* dialog) override {
    const int answer = wxTestingModalHook::Enter(dialog);
    // Unexpected: the failure is reported; the dialog must not wait.
    return answer == wxID_NONE ? wxID_CANCEL : answer;
  }
  void ReportFailure(const wxString& message) override { ADD_FAILURE() << message.utf8_string(); }
};

constexpr const char* kEditionCaption = "Ostrel Standard Edition v.3 ";

/// A message box with exactly `text` (or starting with it, for `Prefix`),
/// answered with `answer`.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  /// `onShown` runs when the box appears (a test notes the moment).
  ExpectMessage(const wxString& text, int answer, const wxString& caption = kEditionCaption, long icon = 0,
                std::function<void()> onShown = {})
      : text_(text), answer_(answer), caption_(caption), icon_(icon), onShown_(std::move(onShown)) {}
  /// Only the start of the text is compared.
  ExpectMessage Prefix() const {
    ExpectMessage copy(*this);
    copy.prefix_ = true;
    return copy;
  }
  /// What the dialog said, for checks after the call.
  static wxString& LastText() {
    static wxString text;
    return text;
  }

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    if (onShown_) onShown_();
    LastText() = dialog->GetMessage();
    if (prefix_) {
      EXPECT_TRUE(dialog->GetMessage().StartsWith(text_)) << dialog->GetMessage().utf8_string();
    } else {
      EXPECT_EQ(dialog->GetMessage().utf8_string(), text_.utf8_string());
    }
    EXPECT_EQ(dialog->GetCaption().utf8_string(), caption_.utf8_string()) << text_.utf8_string();
    if (icon_) {
      EXPECT_TRUE(dialog->GetMessageDialogStyle() & icon_) << text_.utf8_string();
    }
    return answer_;
  }
  wxString GetDefaultDescription() const override { return "message box \"" + text_ + "\""; }

 private:
  wxString text_;
  int answer_;
  wxString caption_;
  long icon_;
  std::function<void()> onShown_;
  bool prefix_ = false;
};

/// A file dialog: checks its title, wildcard and start folder, then answers
/// with `path` and `answer` (wxID_CANCEL for a cancelled choice).
class ExpectFileDialog : public wxExpectModalBase<wxFileDialog, ExpectFileDialog> {
 public:
  ExpectFileDialog(const wxString& title, const wxString& wildcard, const wxString& directory, const wxString& path,
                   int answer = wxID_OK)
      : title_(title), wildcard_(wildcard), directory_(directory), path_(path), answer_(answer) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    EXPECT_EQ(dialog->GetMessage().utf8_string(), title_.utf8_string());
    EXPECT_EQ(dialog->GetWildcard().utf8_string(), wildcard_.utf8_string());
    EXPECT_EQ(dialog->GetDirectory().utf8_string(), directory_.utf8_string());
    // The output chooser takes a new name and asks nothing about an existing
    // file (the checks before a run do); the source chooser opens one.
    const bool output = title_ == "Set your output file name";
    EXPECT_TRUE(dialog->HasFdFlag(output ? wxFD_SAVE : wxFD_OPEN));
    EXPECT_FALSE(dialog->HasFdFlag(wxFD_OVERWRITE_PROMPT));
    if (answer_ == wxID_OK) dialog->SetPath(path_);
    return answer_;
  }
  wxString GetDefaultDescription() const override { return "file dialog \"" + title_ + "\""; }

 private:
  wxString title_, wildcard_, directory_, path_;
  int answer_;
};
