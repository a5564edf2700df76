// The IIS dialog and the encode control's extension switch: texts, buttons,
// the four outcomes of Ok/Cancel against a ticked or cleared box, and the
// output field rewritten with the extension in force.
#include "iisManager.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <memory>
#include <string>
#include <vector>

#include "abstractMainFrame.h"
#include "iisManagerExpectation.h"

namespace {

const char* const kTickedText =
    "The web server IIS 6 for security reason, block all files with unknown extension and it "
    "doesn't serve the video file; \nas conseguence the Applet player show the File Not Found "
    "error message.\nTo fix the issue, the video name will be modified from myvideo.osq to "
    "myvideo.jpg \nand as conseguence will be changed the VideoPath parameter value in the "
    "applet code. \nDo you want to continue?";
const char* const kUntickedText =
    "\nAre you sure your web server isn't IIS 6? \n\n(The web server IIS 6 for security reason, "
    "block all files with unknown extension.\nIf you are not sure of your web server verify "
    "it.)\n";

// The window parts the switch works on.
class IisSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new wxFrame(nullptr, wxID_ANY, "iis");
    output = new wxTextCtrl(frame, wxID_ANY);
    manageIis = new wxCheckBox(frame, wxID_ANY, "Manage IIS");
  }
  void TearDown() override { frame->Destroy(); }

  /// The user clicks the box into `boxAfterClick`, then answers the dialog.
  void ClickAndAnswer(bool boxAfterClick, IisAnswer answer, std::function<void(iisManager&)> inspect = {}) {
    manageIis->SetValue(boxAfterClick);
    wxTEST_DIALOG(control.ChangeOutputExtension(output, manageIis, frame),
                  wxExpectModal<iisManager>(answer, std::move(inspect)));
  }

  wxFrame* frame = nullptr;
  wxTextCtrl* output = nullptr;
  wxCheckBox* manageIis = nullptr;
  abstractMainFrame control;
};

TEST_F(IisSwitchTest, ExtensionStartsAsOsq) { EXPECT_EQ(control.GetOutputExtension(), "osq"); }

TEST_F(IisSwitchTest, FourOutcomesOfTheBoxAndTheButtons) {
  struct Case {
    const char* name;
    bool boxAfterClick;
    IisAnswer answer;
    const char* fieldBefore;
    const char* fieldAfter;
    const char* extension;
    bool boxAfter;
  };
  const std::vector<Case> cases = {
      {"ticked, Ok", true, IisAnswer::Ok, "/v/clip.osq", "/v/clip.jpg", "jpg", true},
      {"ticked, Cancel", true, IisAnswer::Cancel, "/v/clip.osq", "/v/clip.osq", "osq", false},
      {"cleared, Ok", false, IisAnswer::Ok, "/v/clip.jpg", "/v/clip.osq", "osq", false},
      {"cleared, Cancel", false, IisAnswer::Cancel, "/v/clip.jpg", "/v/clip.jpg", "jpg", true},
      {"several dots", true, IisAnswer::Ok, "/v/my.clip.osq", "/v/my.clip.jpg", "jpg", true},
      {"empty field", true, IisAnswer::Ok, "", "", "jpg", true},
      // Closing without a button is taken as Cancel, never an empty extension.
      {"ticked, closed", true, IisAnswer::Close, "/v/clip.osq", "/v/clip.osq", "osq", false},
      {"cleared, closed", false, IisAnswer::Close, "/v/clip.jpg", "/v/clip.jpg", "jpg", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    output->ChangeValue(c.fieldBefore);
    ClickAndAnswer(c.boxAfterClick, c.answer);
    EXPECT_EQ(output->GetValue(), c.fieldAfter);
    EXPECT_EQ(control.GetOutputExtension(), c.extension);
    EXPECT_EQ(manageIis->GetValue(), c.boxAfter);
  }
}

TEST_F(IisSwitchTest, DialogShowsTheTextForTheBoxsNewState) {
  struct Case {
    bool boxAfterClick;
    const char* text;
  };
  for (const Case& c : {Case{true, kTickedText}, Case{false, kUntickedText}}) {
    SCOPED_TRACE(c.boxAfterClick);
    wxString shown;
    ClickAndAnswer(c.boxAfterClick, IisAnswer::Cancel,
                   [&](iisManager& dialog) { shown = dialog.GetMessage()->GetLabel(); });
    EXPECT_EQ(shown, c.text);
  }
}

TEST_F(IisSwitchTest, DialogsWindowButtonsAndTips) {
  ClickAndAnswer(true, IisAnswer::Cancel, [](iisManager& dialog) {
    EXPECT_EQ(dialog.GetId(), ID_IIS_MANAGER);
    EXPECT_EQ(dialog.GetTitle(), "IIS Manager");
    EXPECT_EQ(dialog.GetWindowStyleFlag() & (wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX),
              wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
    EXPECT_TRUE(dialog.HasExtraStyle(wxWS_EX_BLOCK_EVENTS));
    EXPECT_TRUE(dialog.GetMessage()->HasFlag(wxALIGN_CENTRE_HORIZONTAL));
    EXPECT_EQ(dialog.GetMessage()->GetId(), ID_IIS_MESSAGE);

    struct Button {
      int id;
      const char* label;
      const char* tip;
      bool shown;
    };
    const std::vector<Button> buttons = {
        {ID_IIS_OK, "Ok", "change file extension", true},
        {ID_IIS_CANCEL, "Cancel", "cancel and exit", true},
        {ID_IIS_CHECK, "Check", "check if your web server is IIS", false},
    };
    for (const Button& b : buttons) {
      SCOPED_TRACE(b.label);
      auto* button = dynamic_cast<wxButton*>(dialog.FindWindow(b.id));
      ASSERT_NE(button, nullptr);
      EXPECT_EQ(button->GetLabel(), b.label);
      EXPECT_EQ(button->GetToolTipText(), b.tip);
      EXPECT_EQ(button->IsShown(), b.shown);
    }
    // The hidden Check button is the default one: Enter would press it.
    EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(ID_IIS_CHECK));
  });
}

// The dialog's texts are the fixed ones, whatever the translation lookup.
TEST(iisManagerTest, TextsAreTheFixedOnes) {
  EXPECT_EQ(iisManager::TickedText(), kTickedText);
  EXPECT_EQ(iisManager::UntickedText(), kUntickedText);
  EXPECT_EQ(iisManager::BuildTimeText(), wxString(kTickedText).BeforeLast('\n') + "\n\nDo you want to continue?");
}

// The real modal loop, without the testing hook: pressing Ok ends it.
TEST(iisManagerTest, OkEndsARealModalLoop) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "iis");
  auto* box = new wxCheckBox(frame, wxID_ANY, "Manage IIS");
  box->SetValue(true);
  iisManager dialog(frame, ID_IIS_MANAGER, "IIS Manager", wxDefaultPosition, wxSize(650, 100),
                    wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX, box, "osq");
  dialog.CallAfter([&dialog] {
    wxCommandEvent click(wxEVT_BUTTON, ID_IIS_OK);
    dialog.GetEventHandler()->ProcessEvent(click);
  });
  // A deadline, should the click never end the loop.
  bool timedOut = false;
  wxTimer deadline;
  deadline.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    timedOut = true;
    dialog.EndModal(-1);
  });
  deadline.StartOnce(5000);
  EXPECT_EQ(dialog.ShowModal(), 1);
  EXPECT_FALSE(timedOut);
  EXPECT_EQ(dialog.GetExtension(), "jpg");
  EXPECT_TRUE(dialog.IsChanged());
  frame->Destroy();
}

}  // namespace
