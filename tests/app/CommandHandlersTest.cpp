// The main window's own command handlers: the "Set" buttons, the HTML-page
// box and its two dependents, About, and the "Manage IIS" box.
#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <vector>

#include "About.h"
#include "iisManagerExpectation.h"

namespace {

class CommandHandlersTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    BuildQuietFrame();
  }
  void Menu(int id) { SendCommand(frame, wxEVT_MENU, id); }
  /// A click on the box, which has already taken its new state.
  void Click(wxCheckBox* box) { SendCommand(box, wxEVT_CHECKBOX, box->GetId(), box->GetValue()); }
};

TEST_F(CommandHandlersTest, SetButtonsWriteZeroWithNothingLoaded) {
  frame->startTimeText->ChangeValue("12");
  frame->endTimeText->ChangeValue("34");
  SendCommand(frame->setStartButton, wxEVT_BUTTON, ID_SET_START);
  SendCommand(frame->setEndButton, wxEVT_BUTTON, ID_SET_END);
  EXPECT_EQ(frame->startTimeText->GetValue(), "0");
  EXPECT_EQ(frame->endTimeText->GetValue(), "0");
}

TEST_F(CommandHandlersTest, HtmlPageBoxClearsAndDisablesItsDependents) {
  wxCheckBox* page = frame->htmlPageCheck;
  frame->showVideoCheck->SetValue(true);
  frame->graphicToolbarCheck->SetValue(true);

  page->SetValue(false);
  Click(page);
  for (wxCheckBox* box : {frame->showVideoCheck, frame->graphicToolbarCheck}) {
    SCOPED_TRACE(box->GetLabel().utf8_str().data());
    EXPECT_FALSE(box->GetValue());
    EXPECT_FALSE(box->IsEnabled());
  }

  page->SetValue(true);
  Click(page);
  for (wxCheckBox* box : {frame->showVideoCheck, frame->graphicToolbarCheck}) {
    SCOPED_TRACE(box->GetLabel().utf8_str().data());
    EXPECT_FALSE(box->GetValue()) << "still clear";
    EXPECT_TRUE(box->IsEnabled());
  }
}

std::vector<About*> OpenAboutBoxes() {
  std::vector<About*> boxes;
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* about = wxDynamicCast(window, About); about && !IsDestroyed(about)) boxes.push_back(about);
  }
  return boxes;
}

TEST_F(CommandHandlersTest, AboutTwiceGivesTwoModelessBoxes) {
  EXPECT_NO_DIALOG({
    Menu(ID_MENU_ABOUT);
    Menu(ID_MENU_ABOUT);
  });
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
  SendCommand(frame->setStartButton, wxEVT_BUTTON, ID_SET_START);
  EXPECT_EQ(frame->startTimeText->GetValue(), "0");

  boxes[0]->Close();
  DeletePendingWindows();
  boxes = OpenAboutBoxes();
  ASSERT_EQ(boxes.size(), 1u) << "closing one leaves the other";
  boxes[0]->Close();
  DeletePendingWindows();
  EXPECT_TRUE(OpenAboutBoxes().empty());
}

TEST_F(CommandHandlersTest, ManageIisBoxSwitchesTheOutputField) {
  EXPECT_EQ(frame->encodeControl.GetOutputExtension(), "osq") << "every start begins with osq";
  EXPECT_FALSE(frame->manageIisCheck->GetValue());

  frame->outputPathText->ChangeValue("/v/clip.osq");
  frame->manageIisCheck->SetValue(true);
  wxTEST_DIALOG(Click(frame->manageIisCheck), wxExpectModal<iisManager>(IisAnswer::Ok, [this](iisManager& dialog) {
                  EXPECT_EQ(dialog.GetParent(), frame);
                }));
  EXPECT_EQ(frame->outputPathText->GetValue(), "/v/clip.jpg");
  EXPECT_EQ(frame->encodeControl.GetOutputExtension(), "jpg");
  EXPECT_TRUE(frame->manageIisCheck->GetValue());

  frame->manageIisCheck->SetValue(false);
  wxTEST_DIALOG(Click(frame->manageIisCheck), wxExpectModal<iisManager>(IisAnswer::Cancel));
  EXPECT_EQ(frame->outputPathText->GetValue(), "/v/clip.jpg") << "Cancel keeps jpg";
  EXPECT_TRUE(frame->manageIisCheck->GetValue()) << "and ticks the box again";
}

}  // namespace
