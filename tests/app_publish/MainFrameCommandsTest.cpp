// The main window's own command handlers: the "Set" buttons, the HTML-page
// box and its two dependents, About, the IIS box, the links through the
// launcher, close and Exit while an encode runs, and the protection commands.
#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "About.h"
#include "MainFrameFixture.h"
#include "iisManagerExpectation.h"

namespace {

using MainFrameCommandsTest = MainFrameFixture;

TEST_F(MainFrameCommandsTest, SetButtonsWriteZeroWithNothingLoaded) {
  frame->startTimeText->ChangeValue("12");
  frame->endTimeText->ChangeValue("34");
  Command(wxEVT_BUTTON, ID_SET_START, frame->setStartButton);
  Command(wxEVT_BUTTON, ID_SET_END, frame->setEndButton);
  EXPECT_EQ(frame->startTimeText->GetValue(), "0");
  EXPECT_EQ(frame->endTimeText->GetValue(), "0");
}

TEST_F(MainFrameCommandsTest, HtmlPageBoxClearsAndDisablesItsDependents) {
  wxCheckBox* page = frame->htmlPageCheck;
  frame->showVideoCheck->SetValue(true);
  frame->graphicToolbarCheck->SetValue(true);

  page->SetValue(false);
  Command(wxEVT_CHECKBOX, ID_HTML_PAGE, page);
  for (wxCheckBox* box : {frame->showVideoCheck, frame->graphicToolbarCheck}) {
    SCOPED_TRACE(box->GetLabel().utf8_str().data());
    EXPECT_FALSE(box->GetValue());
    EXPECT_FALSE(box->IsEnabled());
  }

  page->SetValue(true);
  Command(wxEVT_CHECKBOX, ID_HTML_PAGE, page);
  for (wxCheckBox* box : {frame->showVideoCheck, frame->graphicToolbarCheck}) {
    SCOPED_TRACE(box->GetLabel().utf8_str().data());
    EXPECT_FALSE(box->GetValue()) << "still clear";
    EXPECT_TRUE(box->IsEnabled());
  }
}

std::vector<About*> OpenAboutBoxes() {
  std::vector<About*> boxes;
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* about = wxDynamicCast(window, About); about && !about->IsBeingDeleted())
      boxes.push_back(about);
  }
  return boxes;
}

TEST_F(MainFrameCommandsTest, AboutTwiceGivesTwoModelessBoxes) {
  ModalCounter modals;
  Menu(ID_MENU_ABOUT);
  Menu(ID_MENU_ABOUT);
  EXPECT_EQ(modals.shown, 0);
  std::vector<About*> boxes = OpenAboutBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  for (About* about : boxes) {
    EXPECT_TRUE(about->IsShown());
    EXPECT_FALSE(about->IsModal());
    EXPECT_EQ(about->GetParent(), frame);
    EXPECT_EQ(about->GetId(), 10022);
    EXPECT_EQ(about->GetTitle(), "About");
    constexpr long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER;
    EXPECT_EQ(about->GetWindowStyleFlag() & style, style);
  }
  // The window's own commands stay usable while the boxes are open.
  Command(wxEVT_BUTTON, ID_SET_START, frame->setStartButton);
  EXPECT_EQ(frame->startTimeText->GetValue(), "0");

  boxes[0]->Close();
  RunIdle();
  boxes = OpenAboutBoxes();
  ASSERT_EQ(boxes.size(), 1u) << "closing one leaves the other";
  boxes[0]->Close();
  RunIdle();
  EXPECT_TRUE(OpenAboutBoxes().empty());
}

TEST_F(MainFrameCommandsTest, ManageIisBoxSwitchesTheOutputField) {
  frame->outputPathText->ChangeValue("/v/clip.osq");
  frame->manageIisCheck->SetValue(true);
  wxTEST_DIALOG(Command(wxEVT_CHECKBOX, ID_MANAGE_IIS, frame->manageIisCheck),
                wxExpectModal<iisManager>(IisAnswer::Ok, [this](iisManager& dialog) {
                  EXPECT_EQ(dialog.GetParent(), frame);
                }));
  EXPECT_EQ(frame->outputPathText->GetValue(), "/v/clip.jpg");
  EXPECT_EQ(frame->encodeControl.GetOutputExtension(), "jpg");
  EXPECT_TRUE(frame->manageIisCheck->GetValue());

  frame->manageIisCheck->SetValue(false);
  wxTEST_DIALOG(Command(wxEVT_CHECKBOX, ID_MANAGE_IIS, frame->manageIisCheck),
                wxExpectModal<iisManager>(IisAnswer::Cancel));
  EXPECT_EQ(frame->outputPathText->GetValue(), "/v/clip.jpg") << "Cancel keeps jpg";
  EXPECT_TRUE(frame->manageIisCheck->GetValue()) << "and ticks the box again";
}

TEST_F(MainFrameCommandsTest, EveryStartBeginsWithOsq) {
  EXPECT_EQ(frame->encodeControl.GetOutputExtension(), "osq");
  EXPECT_FALSE(frame->manageIisCheck->GetValue());
}

TEST_F(MainFrameCommandsTest, LinksOpenThroughTheLauncher) {
  struct Case {
    int id;
    wxString address;
  };
  const std::vector<Case> cases = {
      {ID_MENU_ONLINE_HELP, AppUtils().GetSupportUrl()},
      {ID_TOOL_ONLINE_HELP, AppUtils().GetSupportUrl()},
      {ID_MENU_WEBSITE, AppUtils().GetHomePageUrl()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    launcher.opened.clear();
    Menu(c.id);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], std::string(c.address.utf8_str()));
  }
}

TEST_F(MainFrameCommandsTest, UpdateCommandsAskThenStartTheUpdaterAndClose) {
  const std::string updater = programDir + "/ostrel-updater";
  { std::ofstream(updater) << "#!/bin/sh\n"; }
  std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
  const wxString question = "Do you want to check if there is an update available ?";
  const wxString caption = "Ostrel update manager";

  for (int id : {ID_MENU_CHECK_UPDATES, ID_TOOL_CHECK_UPDATES}) {
    SCOPED_TRACE(id);
    wxTEST_DIALOG(Menu(id), ExpectYesNo(question, caption, wxID_NO));
    EXPECT_TRUE(launcher.started.empty()) << "No starts nothing";
  }

  wxWeakRef<mainFrame> window = frame;
  wxTEST_DIALOG(Menu(ID_MENU_CHECK_UPDATES), ExpectYesNo(question, caption, wxID_YES));
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0], "\"" + updater +
                                     "\" --savelog --restart --xrc=\"webupdatedlg.xrc\" "
                                     "--res=\"wxWebUpdateDlg\" --xml=\"webupdate_std.xml\"");
  RunIdle();
  EXPECT_FALSE(window) << "the window closes for the updater";
  if (!window) frame = nullptr;
  std::filesystem::remove(updater);
}

TEST_F(MainFrameCommandsTest, CloseAndExitRefusedWhileAnEncodeRuns) {
  wxWeakRef<mainFrame> window = frame;
  frame->Show();
  frame->runningCheck->SetValue(true);
  EXPECT_FALSE(frame->Close(false)) << "the close request is vetoed";
  Menu(ID_MENU_EXIT);
  RunIdle();
  ASSERT_TRUE(window);
  EXPECT_TRUE(frame->IsShown());

  frame->runningCheck->SetValue(false);
  Menu(ID_MENU_EXIT);
  RunIdle();
  EXPECT_FALSE(window) << "after the encode Exit works";
  if (!window) frame = nullptr;
}

TEST_F(MainFrameCommandsTest, ImageLookupByExactName) {
  EXPECT_TRUE(frame->GetBitmapResource("_images/open.xpm").IsOk());
  EXPECT_FALSE(frame->GetBitmapResource("_images/OPEN.xpm").IsOk());
  EXPECT_TRUE(frame->GetIconResource("../ostrelCommon/ostrel_ico.xpm").IsOk());
  EXPECT_FALSE(frame->GetIconResource("ostrel_ico.xpm").IsOk());
}

}  // namespace
