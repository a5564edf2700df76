// The window tests' answers to modal dialogs, one set for every suite: the
// expectation checks what the user would read and gives the button the user
// would press, and every failure is a GoogleTest failure at the test's line.
//
// A dialog that no expectation takes fails the test, naming its text, and is
// dismissed with the answer of someone who wants nothing done (Cancel where
// the box has it, else No to a question and OK to a notice), never shown: shown, it would wait for a person. That
// holds inside wxTEST_DIALOG and EXPECT_NO_DIALOG, and, through the safety net
// GuiTestMain installs, for the toolkit's dialogs shown anywhere else.
//
// Include this instead of <wx/testing.h>, so that wxTEST_DIALOG uses this hook.
#pragma once

#include <gtest/gtest.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <functional>
#include <optional>
#include <ostream>

/// Texts in failure messages as text, not as a list of characters.
inline void PrintTo(const wxString& text, std::ostream* out) { *out << '"' << text.utf8_string() << '"'; }

/// The hook of wxTEST_DIALOG and EXPECT_NO_DIALOG.
class GtestModalHook : public wxTestingModalHook {
 public:
  GtestModalHook(const char* file, int line, const char* func);

 protected:
  int Enter(wxDialog* dialog) override;
  void ReportFailure(const wxString& message) override;
  wxString DescribeUnexpectedDialog(wxDialog* dialog) const override;

 private:
  const char* file_;
  int line_;
};

#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS GtestModalHook

/// Runs the code and fails the test for every modal dialog it shows.
#define EXPECT_NO_DIALOG(...)                                  \
  {                                                            \
    GtestModalHook noDialogHook(__FILE__, __LINE__, __func__); \
    __VA_ARGS__;                                               \
  }

/// Under every window test, below any wxTEST_DIALOG: a message box, file or
/// folder chooser shown outside one fails the test and is dismissed. The
/// program's own dialogs pass, as tests drive those in their own modal loops.
class DialogSafetyNet : public wxModalDialogHook {
 public:
  DialogSafetyNet() { Register(); }
  DialogSafetyNet(const DialogSafetyNet&) = delete;
  DialogSafetyNet& operator=(const DialogSafetyNet&) = delete;

 protected:
  int Enter(wxDialog* dialog) override;
};

/// A message box with exactly this text, answered with `answer`: wxID_YES,
/// wxID_NO, wxID_OK or wxID_CANCEL (wxYES and its kin too). The answer must be
/// a button the box has: Yes or No only to a question, OK never to one. Each
/// further check is asked for by a modifier, which returns a copy as
/// Optional() does.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
 public:
  explicit ExpectMessage(const wxString& text, int answer = wxID_OK);

  /// Only the start of the text is compared: the rest quotes a file, a reason, a time.
  ExpectMessage Prefix() const;
  /// The box's caption.
  ExpectMessage Caption(const wxString& caption) const;
  /// Its buttons, default button, centring and icon: these bits of the style, all of them.
  ExpectMessage Style(long style) const;
  /// Its icon (wxICON_ERROR, wxICON_QUESTION, ...); the rest of the style is not looked at.
  ExpectMessage Icon(long icon) const;
  /// No is preselected, so that Enter does not say Yes.
  ExpectMessage NoDefault() const;
  /// Runs when the box appears, before it is answered (a test looks at the window then).
  ExpectMessage OnShown(std::function<void()> onShown) const;
  /// Keeps the whole text the box showed in `*text`, for checks after the call.
  ExpectMessage SaveText(wxString* text) const;

 protected:
  int OnInvoked(wxMessageDialog* dialog) const override;
  wxString GetDefaultDescription() const override;

 private:
  wxString text_;
  int answer_;
  bool prefix_ = false;
  std::optional<wxString> caption_;
  std::optional<long> style_;
  std::optional<long> icon_;
  bool noDefault_ = false;
  std::function<void()> onShown_;
  wxString* savedText_ = nullptr;
};

/// A Yes/No question with the question icon, with this text and caption,
/// answered wxID_YES or wxID_NO.
ExpectMessage ExpectQuestion(const wxString& text, const wxString& caption, int answer);

/// What a file dialog is for: the source to open, a file to save as it is
/// chosen, or one whose replacement the dialog itself confirms.
enum class FileChoice { kOpen, kSave, kSaveAskingToOverwrite };

/// A file dialog with this message (its title), wildcard and purpose, given
/// `path` as the user's choice, or cancelled (answer wxID_CANCEL).
class ExpectFile : public wxExpectModalBase<wxFileDialog, ExpectFile> {
 public:
  ExpectFile(const wxString& message, const wxString& wildcard, FileChoice choice, const wxString& path,
             int answer = wxID_OK);

  /// The folder the dialog starts in.
  ExpectFile Directory(const wxString& directory) const;

 protected:
  int OnInvoked(wxFileDialog* dialog) const override;
  wxString GetDefaultDescription() const override;

 private:
  wxString message_;
  wxString wildcard_;
  FileChoice choice_;
  wxString path_;
  int answer_;
  std::optional<wxString> directory_;
};

/// A folder chooser with this message, answered with the button only: on this
/// toolkit a path set from outside does not become the chooser's result.
class ExpectFolder : public wxExpectModalBase<wxDirDialog, ExpectFolder> {
 public:
  ExpectFolder(const wxString& message, int answer);

 protected:
  int OnInvoked(wxDirDialog* dialog) const override;
  wxString GetDefaultDescription() const override;

 private:
  wxString message_;
  int answer_;
};
