// The utility object in the window: the daily update offer with a fixed
// today, the updater's launch (never for real), the links, the integer check.
#include <wx/config.h>
#include <wx/filename.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "appUtils.h"

namespace {

const char* const kUpdateQuestion = "Do you want to check if there is an update available ?";

wxString StoredDate() { return wxConfigBase::Get()->Read("/General/CFU", wxString()); }

class AppUtilsTest : public AppTest {
 protected:
  /// An executable file where the updater would lie.
  void PlaceUpdater() {
    const std::string path = programDir + "/webupdater";
    WriteWholeFile(path, "#!/bin/sh\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }
  std::string ExpectedCommand() const {
    return "\"" + programDir +
           "/webupdater\" --savelog --restart --xrc=\"webupdatedlg.xrc\" --res=\"wxWebUpdateDlg\""
           " --xml=\"webupdate_std.xml\"";
  }
};

TEST_F(AppUtilsTest, TheDailyQuestionComesOncePerDay) {
  BuildQuietFrame();
  struct Case {
    const char* what;
    const char* stored;  ///< null: no date stored
    bool asked;
  };
  const std::vector<Case> cases = {
      {"no date stored", nullptr, true},
      {"asked today already", "2026-03-14", false},
      {"asked yesterday", "2026-03-13", true},
      {"a stored date later than today", "2026-09-01", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxConfigBase::Get()->DeleteEntry("/General/CFU");
    if (c.stored) wxConfigBase::Get()->Write("/General/CFU", c.stored);
    if (c.asked) {
      // The date is stored before the question is asked.
      wxTEST_DIALOG(AppUtils().CheckForUpdatesOn(frame, "2026-03-14"),
                    ExpectMessage(kUpdateQuestion, wxNO).OnShown([] { EXPECT_EQ(StoredDate(), "2026-03-14"); }));
    } else {
      EXPECT_NO_DIALOG(AppUtils().CheckForUpdatesOn(frame, "2026-03-14"));
    }
    EXPECT_EQ(StoredDate(), "2026-03-14");
  }
  EXPECT_TRUE(launcher.commands.empty());
  EXPECT_FALSE(IsDestroyed(frame));
}

TEST_F(AppUtilsTest, WithoutAnUpdaterTheUserIsToldAndTheProgramGoesOn) {
  BuildQuietFrame();
  const wxString missing = wxString::FromUTF8(programDir) + "/webupdater";
  wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_CHECK_UPDATES), ExpectMessage(kUpdateQuestion, wxYES),
                ExpectMessage("The update program could not be started:\n" + missing, wxOK));
  EXPECT_TRUE(launcher.commands.empty());
  EXPECT_FALSE(IsDestroyed(frame));
}

TEST_F(AppUtilsTest, AnUpdaterThatStartsClosesTheWindow) {
  BuildQuietFrame();
  PlaceUpdater();
  wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_TOOL_CHECK_UPDATES), ExpectMessage(kUpdateQuestion, wxYES));
  ASSERT_EQ(launcher.commands.size(), 1u);
  EXPECT_EQ(launcher.commands[0], ExpectedCommand());
  EXPECT_EQ(launcher.workingDirs[0], programDir);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(programDir));
  EXPECT_TRUE(IsDestroyed(frame));
}

TEST_F(AppUtilsTest, AnUpdaterThatFailsToStartKeepsTheWindow) {
  BuildQuietFrame();
  PlaceUpdater();
  launcher.startSucceeds = false;
  wxTEST_DIALOG(
      AppUtils().AskUpdate(frame), ExpectMessage(kUpdateQuestion, wxYES),
      ExpectMessage("The update program could not be started:\n" + wxString::FromUTF8(programDir) + "/webupdater",
                    wxOK));
  EXPECT_EQ(launcher.commands.size(), 1u);
  EXPECT_FALSE(IsDestroyed(frame));
}

TEST_F(AppUtilsTest, NoToTheQuestionStartsNothing) {
  BuildQuietFrame();
  PlaceUpdater();
  wxTEST_DIALOG(AppUtils().AskUpdate(frame), ExpectMessage(kUpdateQuestion, wxNO));
  EXPECT_TRUE(launcher.commands.empty());
  EXPECT_FALSE(IsDestroyed(frame));
}

TEST_F(AppUtilsTest, HelpAndWebsiteOpenTheirLinksInTheBrowser) {
  BuildQuietFrame();
  EXPECT_NO_DIALOG({
    SendCommand(frame, wxEVT_MENU, ID_MENU_ONLINE_HELP);
    SendCommand(frame, wxEVT_MENU, ID_TOOL_ONLINE_HELP);
    SendCommand(frame, wxEVT_MENU, ID_MENU_WEBSITE);
  });
  const std::string support(AppUtils().GetSupportUrl().utf8_str());
  const std::string home(AppUtils().GetHomePageUrl().utf8_str());
  EXPECT_EQ(launcher.addresses, (std::vector<std::string>{support, support, home}));
  EXPECT_NE(support, home);
  EXPECT_FALSE(AppUtils().GetJavaDownloadUrl().empty());
}

TEST_F(AppUtilsTest, IntegerFieldsSayWhatIsWrong) {
  struct Case {
    const char* value;
    bool valid;
  };
  const std::vector<Case> cases = {{"0", true},   {"120", true},  {"", false},   {"-5", false},
                                   {" 5", false}, {"5.0", false}, {"1e3", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    if (c.valid) {
      EXPECT_NO_DIALOG(EXPECT_TRUE(AppUtils().IsIntegerField("Crop on top:", c.value)));
    } else {
      wxTEST_DIALOG(EXPECT_FALSE(AppUtils().IsIntegerField("Crop on top:", c.value)),
                    ExpectMessage("Crop on top: only integer value", wxOK));
    }
  }
  EXPECT_EQ(AppUtils().FormatHMS(3600), "01:00:00");
  EXPECT_TRUE(AppUtils().IsValidFileName("/home/me/clip_1.osq"));
  EXPECT_FALSE(AppUtils().IsValidFileName("/home/me/clip#1.osq"));
}

TEST_F(AppUtilsTest, TheProgramsPathComesFromItsArgument) {
  EXPECT_EQ(AppUtils().FindAppPath("/opt/ostrel/ostrel", "/", ""), "/opt/ostrel");
  EXPECT_EQ(AppUtils().FindAppPath("ostrel", wxString::FromUTF8(programDir), ""), "");
  WriteWholeFile(programDir + "/ostrel", "");
  EXPECT_EQ(AppUtils().FindAppPath("ostrel", wxString::FromUTF8(programDir), ""), wxString::FromUTF8(programDir));
}

}  // namespace
