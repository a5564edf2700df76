// The window tests' answers to modal dialogs (see ModalExpectations.h).
#include "ModalExpectations.h"

#include <wx/app.h>

#include <string>

#include "PollUntil.h"

namespace {

// The answers name buttons; the dialog returns their ids.
int ToId(int answer) {
  switch (answer) {
    case wxYES: return wxID_YES;
    case wxNO: return wxID_NO;
    case wxOK: return wxID_OK;
    case wxCANCEL: return wxID_CANCEL;
    default: return answer;
  }
}

std::string Utf8(const wxString& text) { return text.utf8_string(); }

// What the failure says about a dialog: a message box by its text and caption,
// any other dialog by its kind and title.
wxString DescribeDialog(wxDialog* dialog) {
  if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
    return "A message box \"" + box->GetMessage() + "\" (caption \"" + box->GetCaption() + "\")";
  }
  if (auto* chooser = dynamic_cast<wxFileDialog*>(dialog)) return "A file dialog \"" + chooser->GetMessage() + "\"";
  if (auto* chooser = dynamic_cast<wxDirDialog*>(dialog)) return "A folder chooser \"" + chooser->GetMessage() + "\"";
  return "A " + wxGetDialogClassDescription(dialog->GetClassInfo(), typeid(*dialog)) + " with title \"" +
         dialog->GetTitle() + "\"";
}

// The answer that ends a dialog nobody expected: a button the dialog has, so
// the program goes on as after a person's refusal.
int DismissUnexpected(wxDialog* dialog) {
  if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
    const long style = box->GetMessageDialogStyle();
    if (style & wxCANCEL) return wxID_CANCEL;
    return (style & wxYES_NO) ? wxID_NO : wxID_OK;
  }
  return wxID_CANCEL;
}

}  // namespace

GtestModalHook::GtestModalHook(const char* file, int line, const char* func)
    : wxTestingModalHook(file, line, func), file_(file ? file : __FILE__), line_(line) {}

int GtestModalHook::Enter(wxDialog* dialog) {
  const int answer = wxTestingModalHook::Enter(dialog);
  // wxID_NONE: unexpected, and already reported; it must not wait for a person.
  return answer == wxID_NONE ? DismissUnexpected(dialog) : answer;
}

void GtestModalHook::ReportFailure(const wxString& message) { ADD_FAILURE_AT(file_, line_) << Utf8(message); }

wxString GtestModalHook::DescribeUnexpectedDialog(wxDialog* dialog) const { return DescribeDialog(dialog); }

int DialogSafetyNet::Enter(wxDialog* dialog) {
  if (!dynamic_cast<wxMessageDialog*>(dialog) && !dynamic_cast<wxFileDialog*>(dialog) &&
      !dynamic_cast<wxDirDialog*>(dialog)) {
    return wxID_NONE;
  }
  ADD_FAILURE() << Utf8(DescribeDialog(dialog)) << " was shown outside wxTEST_DIALOG.";
  return DismissUnexpected(dialog);
}

ExpectMessage::ExpectMessage(const wxString& text, int answer) : text_(text), answer_(ToId(answer)) {}

ExpectMessage ExpectMessage::Prefix() const {
  ExpectMessage copy(*this);
  copy.prefix_ = true;
  return copy;
}

ExpectMessage ExpectMessage::Caption(const wxString& caption) const {
  ExpectMessage copy(*this);
  copy.caption_ = caption;
  return copy;
}

ExpectMessage ExpectMessage::Style(long style) const {
  ExpectMessage copy(*this);
  copy.style_ = style;
  return copy;
}

ExpectMessage ExpectMessage::Icon(long icon) const {
  ExpectMessage copy(*this);
  copy.icon_ = icon;
  return copy;
}

ExpectMessage ExpectMessage::NoDefault() const {
  ExpectMessage copy(*this);
  copy.noDefault_ = true;
  return copy;
}

ExpectMessage ExpectMessage::OnShown(std::function<void()> onShown) const {
  ExpectMessage copy(*this);
  copy.onShown_ = std::move(onShown);
  return copy;
}

ExpectMessage ExpectMessage::SaveText(wxString* text) const {
  ExpectMessage copy(*this);
  copy.savedText_ = text;
  return copy;
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const {
  const wxString shown = dialog->GetMessage();
  if (onShown_) onShown_();
  if (savedText_) *savedText_ = shown;
  // A box with other words is not the one expected: it is refused, as one
  // nobody expected would be, instead of getting the answer meant for another.
  if (prefix_ && !shown.StartsWith(text_)) {
    ADD_FAILURE() << "the box says \"" << Utf8(shown) << "\", not \"" << Utf8(text_) << "...\"";
    return DismissUnexpected(dialog);
  }
  if (!prefix_ && shown != text_) {
    EXPECT_EQ(shown, text_);
    return DismissUnexpected(dialog);
  }
  if (caption_) {
    EXPECT_EQ(dialog->GetCaption(), *caption_) << "the caption of " << Utf8(text_);
  }
  const long style = dialog->GetMessageDialogStyle();
  if (style_) {
    const long looked = wxYES_NO | wxOK | wxCANCEL | wxNO_DEFAULT | wxCENTRE | wxICON_MASK;
    EXPECT_EQ(style & looked, *style_) << "the style of " << Utf8(text_);
  }
  if (icon_) {
    EXPECT_EQ(style & wxICON_MASK, *icon_) << "the icon of " << Utf8(text_);
  }
  if (noDefault_) {
    EXPECT_TRUE(style & wxNO_DEFAULT) << "Yes is preselected in " << Utf8(text_);
  }
  // An answer the box has no button for would let the test pass over a box
  // that asks the wrong thing; the program gets the refusal instead.
  if ((answer_ == wxID_YES || answer_ == wxID_NO) && !(style & wxYES_NO)) {
    ADD_FAILURE() << "answered Yes or No, but the box has no such buttons: " << Utf8(shown);
    return DismissUnexpected(dialog);
  }
  if (answer_ == wxID_OK && (style & wxYES_NO)) {
    ADD_FAILURE() << "answered OK, but the box asks Yes or No: " << Utf8(shown);
    return DismissUnexpected(dialog);
  }
  return answer_;
}

wxString ExpectMessage::GetDefaultDescription() const {
  return (prefix_ ? "message box starting \"" : "message box \"") + text_ + "\"";
}

ExpectMessage ExpectQuestion(const wxString& text, const wxString& caption, int answer) {
  return ExpectMessage(text, answer).Caption(caption).Icon(wxICON_QUESTION);
}

ExpectFile::ExpectFile(const wxString& message, const wxString& wildcard, FileChoice choice, const wxString& path,
                       int answer)
    : message_(message), wildcard_(wildcard), choice_(choice), path_(path), answer_(ToId(answer)) {}

ExpectFile ExpectFile::Directory(const wxString& directory) const {
  ExpectFile copy(*this);
  copy.directory_ = directory;
  return copy;
}

int ExpectFile::OnInvoked(wxFileDialog* dialog) const {
  const std::string about = "for " + Utf8(message_);
  EXPECT_EQ(dialog->GetMessage(), message_);
  EXPECT_EQ(dialog->GetWildcard(), wildcard_) << about;
  if (directory_) {
    EXPECT_EQ(dialog->GetDirectory(), *directory_) << about;
  }
  const bool saves = choice_ != FileChoice::kOpen;
  EXPECT_TRUE(dialog->HasFdFlag(saves ? wxFD_SAVE : wxFD_OPEN)) << about;
  EXPECT_EQ(dialog->HasFdFlag(wxFD_OVERWRITE_PROMPT), choice_ == FileChoice::kSaveAskingToOverwrite) << about;
  if (answer_ == wxID_OK) {
    dialog->SetPath(path_);
    // wxGTK's chooser takes the path only once it has read the folder, in the main loop.
    PollUntil([&] { return dialog->GetPath() == path_; }, 3.0, [] { wxTheApp->Yield(true); });
    EXPECT_EQ(dialog->GetPath(), path_) << about;
  }
  return answer_;
}

wxString ExpectFile::GetDefaultDescription() const { return "file dialog \"" + message_ + "\""; }

ExpectFolder::ExpectFolder(const wxString& message, int answer) : message_(message), answer_(ToId(answer)) {}

int ExpectFolder::OnInvoked(wxDirDialog* dialog) const {
  EXPECT_EQ(dialog->GetMessage(), message_);
  return answer_;
}

wxString ExpectFolder::GetDefaultDescription() const { return "folder chooser \"" + message_ + "\""; }
