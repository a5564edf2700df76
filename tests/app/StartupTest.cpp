// Start-up in its order: the temporary-files question while the window is
// built, the daily update question after it, both before the window shows;
// the caption, size and style of the shown window; a window without preview.
#include <wx/app.h>
#include <wx/config.h>
#include <wx/mediactrl.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/sizer.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "OstrelApp.h"
#include "appUtils.h"

namespace {

class StartupTest : public AppTest {
 protected:
  void TearDown() override {
    mainFrame::SetMediaBackend(wxString());
    AppTest::TearDown();
  }

  static bool AnyTopLevelShown() {
    for (wxWindow* window : wxTopLevelWindows) {
      if (window->IsShown()) return true;
    }
    return false;
  }
};

TEST_F(StartupTest, QuestionsComeInOrderBeforeTheWindowShows) {
  std::vector<std::string> seen;
  const auto note = [&seen](const char* what) {
    return [&seen, what] {
      seen.push_back(what);
      EXPECT_FALSE(AnyTopLevelShown()) << what;
    };
  };
  wxTEST_DIALOG(frame = OstrelApp::Start(*wxTheApp),
                ExpectMessage("Your temporary files directory is not defined. Do you want to set it? "
                              "(if no you mantain default direcotry) ",
                              wxNO)
                    .OnShown(note("temporary files")),
                ExpectMessage("Do you want to check if there is an update available ?", wxNO).OnShown(note("update")));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"temporary files", "update"}));
  EXPECT_TRUE(frame->IsShown());
  EXPECT_EQ(frame->GetTitle(), "Ostrel Standard Edition v.3 ");
  EXPECT_EQ(wxTheApp->GetVendorName(), "Harwelco");
  EXPECT_EQ(wxTheApp->GetAppName(), "Ostrel 3");
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), wxGetHomeDir());
  EXPECT_EQ(wxConfigBase::Get()->Read("/General/CFU", wxString()), AppUtils().FormatToday());
  EXPECT_TRUE(launcher.commands.empty());
}

TEST_F(StartupTest, ASecondStartTheSameDayAsksNothing) {
  ConfigureTempDir("/var/tmp");
  wxConfigBase::Get()->Write("/General/CFU", AppUtils().FormatToday());
  EXPECT_NO_DIALOG(frame = OstrelApp::Start(*wxTheApp));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), "/var/tmp");
}

TEST_F(StartupTest, AnUpdaterStartedFromTheDailyQuestionLeavesTheWindowUnshown) {
  ConfigureTempDir();
  const std::string updater = programDir + "/webupdater";
  WriteWholeFile(updater, "#!/bin/sh\n");
  std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
  wxTEST_DIALOG(frame = OstrelApp::Start(*wxTheApp),
                ExpectMessage("Do you want to check if there is an update available ?", wxYES));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(launcher.commands.size(), 1u);
  EXPECT_TRUE(IsDestroyed(frame));
  EXPECT_FALSE(frame->IsShown());
}

TEST_F(StartupTest, TheWindowIsFixedInSizeAndNamedAsBuilt) {
  BuildQuietFrame();
  EXPECT_EQ(frame->GetId(), ID_MAIN_FRAME);
  EXPECT_EQ(frame->GetName(), "frame");
  EXPECT_EQ(frame->GetSize(), wxSize(900, 700));
  EXPECT_FALSE(frame->HasFlag(wxRESIZE_BORDER));
  EXPECT_FALSE(frame->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_TRUE(frame->HasFlag(wxMINIMIZE_BOX));
  EXPECT_TRUE(frame->HasFlag(wxCLOSE_BOX));
  EXPECT_TRUE(frame->HasFlag(wxCAPTION));
  EXPECT_TRUE(frame->HasExtraStyle(wxFRAME_EX_CONTEXTHELP));
  EXPECT_EQ(frame->GetTitle(), "Ostrel Standard Edition v.3 ");
  ASSERT_NE(frame->GetToolTip(), nullptr);
  EXPECT_EQ(frame->GetToolTip()->GetTip(), "Ostrel, a Harwelco solution");
  EXPECT_EQ(frame->GetFont().GetPointSize(), 8);
  EXPECT_EQ(frame->GetFont().GetWeight(), wxFONTWEIGHT_NORMAL);
  EXPECT_TRUE(frame->GetIcon().IsOk());
}

TEST_F(StartupTest, WithoutAMediaBackendTheWindowWorksWithoutPreview) {
  mainFrame::SetMediaBackend("NoSuchMediaBackend");
  BuildQuietFrame();
  EXPECT_EQ(frame->mediaCtrl, nullptr);
  EXPECT_EQ(wxWindow::FindWindowById(ID_MEDIA_CTRL, frame), nullptr);
  frame->Show();
  wxYield();
  // The rest of the window is there and answers.
  EXPECT_EQ(frame->streamsGrid->GetCellValue(2, 1), "ADSL1");
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_RESET_STREAMS),
                ExpectMessage("Reset to factory streams settings ?", wxNO));
  EXPECT_GT(frame->previewSizer->GetItemCount(), 0u);
}

}  // namespace
