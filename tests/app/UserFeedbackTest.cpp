// What the window tells a person instead of failing silently or emptying
// itself: a browser that cannot be started, "Load settings" with nothing
// saved, a second copy, and the output chooser that takes a new name.
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "OstrelApp.h"
#include "SystemLauncher.h"
#include "appUtils.h"

namespace {

const char kNoBrowser[] =
    "The web browser could not be started.\nPlease open this address in your browser:\n"
    "http://www.harwelco.com/support/ostrel/";

class UserFeedbackTest : public AppTest {};

TEST_F(UserFeedbackTest, ABrowserThatCannotStartIsToldWithTheAddress) {
  BuildQuietFrame();
  launcher.browserStarts = false;
  wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_ONLINE_HELP), ExpectMessage(kNoBrowser, wxOK));
  // An opener that starts but finds no browser reports it later.
  launcher.browserStarts = true;
  EXPECT_NO_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_ONLINE_HELP));
  ASSERT_TRUE(launcher.browserFailure);
  wxTEST_DIALOG(launcher.browserFailure(), ExpectMessage(kNoBrowser, wxOK));
}

// The real launcher, with a PATH of the test's own: no xdg-open at all, then
// one that ends as xdg-open does when it finds no browser.
TEST_F(UserFeedbackTest, TheSystemLauncherReportsAMissingOrFailingOpener) {
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  setenv("PATH", programDir.c_str(), 1);
  SystemLauncher system;
  bool failed = false;
  EXPECT_FALSE(system.OpenInBrowser("http://example.invalid/", [&] { failed = true; }));

  const std::string opener = programDir + "/xdg-open";
  WriteWholeFile(opener, "#!/bin/sh\nexit 3\n");
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  EXPECT_TRUE(system.OpenInBrowser("http://example.invalid/", [&] { failed = true; }));
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_TRUE(WaitUntil([&] { return failed; }, 10.0));
}

TEST_F(UserFeedbackTest, LoadSettingsWithNothingSavedSaysSoAndChangesNothing) {
  BuildQuietFrame();
  frame->inputPathText->ChangeValue("/somewhere/source.avi");
  frame->widthText->ChangeValue("640");
  frame->startTimeText->ChangeValue("7");
  const wxString row = frame->streamsGrid->GetCellValue(2, 1);
  wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_LOAD_SETTINGS),
                ExpectMessage("No settings have been saved yet: nothing was loaded.", wxID_OK)
                    .Caption("Message")
                    .Style(wxOK | wxICON_INFORMATION));
  EXPECT_EQ(frame->inputPathText->GetValue(), "/somewhere/source.avi");
  EXPECT_EQ(frame->widthText->GetValue(), "640");
  EXPECT_EQ(frame->startTimeText->GetValue(), "7");
  EXPECT_EQ(frame->streamsGrid->GetCellValue(2, 1), row);
  EXPECT_TRUE(frame->aspectRatioCheck->GetValue());
}

// A save-style chooser: a name that does not exist yet is taken, and no
// question about overwriting comes from the chooser itself.
TEST_F(UserFeedbackTest, TheOutputChooserTakesANewName) {
  BuildQuietFrame();
  frame->outputPathText->ChangeValue(wxString::FromUTF8(programDir + "/old.osq"));
  const wxString fresh = wxString::FromUTF8(programDir + "/brandnew.osq");
  class ExpectSaveChooser : public wxExpectModalBase<wxFileDialog, ExpectSaveChooser> {
   public:
    explicit ExpectSaveChooser(const wxString& path) : path(path) {}

   protected:
    int OnInvoked(wxFileDialog* dialog) const override {
      EXPECT_TRUE(dialog->HasFdFlag(wxFD_SAVE));
      EXPECT_FALSE(dialog->HasFdFlag(wxFD_OVERWRITE_PROMPT));
      dialog->SetPath(path);
      return wxID_OK;
    }

   private:
    wxString path;
  };
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_OUTPUT_BROWSE), ExpectSaveChooser(fresh));
  EXPECT_EQ(frame->outputPathText->GetValue(), fresh);
  EXPECT_FALSE(std::filesystem::exists(programDir + "/brandnew.osq"));
}

// The lock file in the home folder goes at a normal end, so that nothing is
// left behind for the next start to judge.
TEST_F(UserFeedbackTest, ANormalEndReleasesTheSingleInstanceLock) {
  const std::string lock = GuiTestConfigDir() + "/" + std::string(OstrelApp::InstanceName().utf8_str());
  ConfigureTempDir();
  wxConfigBase::Get()->Write("/General/CFU", AppUtils().FormatToday());
  EXPECT_NO_DIALOG(frame = OstrelApp::Start(*wxTheApp));
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(std::filesystem::exists(lock));
  OstrelApp::EndSingleInstance();
  EXPECT_FALSE(std::filesystem::exists(lock));
}

}  // namespace
