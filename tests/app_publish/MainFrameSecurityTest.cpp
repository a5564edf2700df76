// The two Security commands: each creates its dialog, shows it modally and
// destroys it when the modal loop ends, whatever the loop returned. The menu
// is off the menu bar, so only the ids raise them.
// The protection tests' modal hook comes first: it decides what
// wxTEST_DIALOG uses in this file.
#include "ProtectionDialogExpectations.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include "MainFrameFixture.h"

namespace {

using MainFrameSecurityTest = MainFrameFixture;

size_t DialogsOf(const wxClassInfo* kind) {
  size_t count = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->IsKindOf(kind) && !window->IsBeingDeleted()) ++count;
  }
  return count;
}

TEST_F(MainFrameSecurityTest, SecretPhraseDialogIsShownModallyThenDestroyed) {
  for (int code : {int(securityKeyDialog::ID_CLOSE), int(wxID_CANCEL)}) {
    SCOPED_TRACE(code);
    wxTEST_DIALOG(Menu(ID_MENU_SECRET_PHRASE), wxExpectModal<securityKeyDialog>(code));
    RunIdle();
    EXPECT_EQ(DialogsOf(wxCLASSINFO(securityKeyDialog)), 0u);
  }
}

TEST_F(MainFrameSecurityTest, SecurityFileManagerIsShownModallyThenDestroyed) {
  for (int code : {int(wxID_CANCEL), int(wxID_OK)}) {
    SCOPED_TRACE(code);
    wxTEST_DIALOG(Menu(ID_MENU_SECURITY_MANAGER), wxExpectModal<securityDialog>(code));
    RunIdle();
    EXPECT_EQ(DialogsOf(wxCLASSINFO(securityDialog)), 0u);
  }
}

TEST_F(MainFrameSecurityTest, SecurityMenuStaysOffTheMenuBar) {
  wxMenuBar* bar = frame->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  for (size_t i = 0; i < bar->GetMenuCount(); ++i) EXPECT_NE(bar->GetMenu(i), frame->securityMenu);
  EXPECT_EQ(bar->FindItem(ID_MENU_SECRET_PHRASE), nullptr);
  EXPECT_EQ(bar->FindItem(ID_MENU_SECURITY_MANAGER), nullptr);
}

}  // namespace
