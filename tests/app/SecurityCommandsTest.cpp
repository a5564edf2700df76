// The two Security commands: each creates its dialog as the window's table
// says, shows it modally and destroys it when the modal loop ends, whatever
// the loop returned. The menu is off the menu bar, so only the ids raise them.
#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include "securityDialog.h"
#include "securityKeyDialog.h"

namespace {

constexpr long kDialogStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER;

/// Checks how a protection dialog was made, then ends it with `code`.
template <class Dialog>
class ExpectProtectionDialog : public wxExpectModalBase<Dialog, ExpectProtectionDialog<Dialog>> {
 public:
  ExpectProtectionDialog(int id, const wxString& caption, wxWindow* parent, int code)
      : id_(id), caption_(caption), parent_(parent), code_(code) {}

 protected:
  int OnInvoked(Dialog* dialog) const override {
    EXPECT_EQ(dialog->GetId(), id_);
    EXPECT_EQ(dialog->GetTitle(), caption_);
    EXPECT_EQ(dialog->GetParent(), parent_);
    EXPECT_EQ(dialog->GetWindowStyleFlag() & kDialogStyle, kDialogStyle);
    return code_;
  }

 private:
  int id_;
  wxString caption_;
  wxWindow* parent_;
  int code_;
};

size_t OpenDialogsOf(const wxClassInfo* kind) {
  size_t count = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->IsKindOf(kind) && !IsDestroyed(window)) ++count;
  }
  return count;
}

class SecurityCommandsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    BuildQuietFrame();
  }
};

TEST_F(SecurityCommandsTest, SecretPhraseDialogIsShownModallyThenDestroyed) {
  for (int code : {int(securityKeyDialog::ID_CLOSE), int(wxID_CANCEL)}) {
    SCOPED_TRACE(code);
    wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_SECRET_PHRASE),
                  ExpectProtectionDialog<securityKeyDialog>(10000, "Secret Phrase", frame, code));
    DeletePendingWindows();
    EXPECT_EQ(OpenDialogsOf(wxCLASSINFO(securityKeyDialog)), 0u);
  }
}

TEST_F(SecurityCommandsTest, SecurityFileManagerIsShownModallyThenDestroyed) {
  for (int code : {int(wxID_CANCEL), int(wxID_OK)}) {
    SCOPED_TRACE(code);
    wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_SECURITY_MANAGER),
                  ExpectProtectionDialog<securityDialog>(10002, "securityDialog", frame, code));
    DeletePendingWindows();
    EXPECT_EQ(OpenDialogsOf(wxCLASSINFO(securityDialog)), 0u);
  }
}

}  // namespace
