// Publishing with the real encode control of the main window: the page
// beside the output after a finished run, naming the file the run wrote and
// opened when asked; none after a failed run; loaded nonsense refused; the
// output chooser and the checks following the IIS extension.
#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <filesystem>
#include <string>
#include <vector>

#include <wx/config.h>
#include <wx/filedlg.h>

#include "GuiTestSupport.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "iisManagerExpectation.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kStart = "Start encoding ?";
constexpr const char* kFinished = "Finished Encoding";

class PublishFromWindowTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ConfigureTempDir(wxString::FromUTF8(temp.Path()));
    EXPECT_NO_DIALOG(BuildFrame());
    frame->encodeControl.SetTempDirectory(wxString::FromUTF8(temp.Path()));
    const std::string source = TestMedia::Path("av.avi");
    ASSERT_FALSE(source.empty());
    EXPECT_NO_DIALOG(frame->inputPathText->SetValue(wxString::FromUTF8(source)));
    frame->outputPathText->ChangeValue(wxString::FromUTF8(out.File("talk.osq")));
  }

  void Encode() { SendCommand(frame, wxEVT_MENU, ID_ENCODE); }

  TempDir out;
  TempDir temp;
};

TEST_F(PublishFromWindowTest, FinishedRunLeavesThePageBesideTheOutput) {
  ASSERT_TRUE(frame->htmlPageCheck->GetValue()) << "ticked from the start";
  frame->showVideoCheck->SetValue(true);
  frame->graphicToolbarCheck->SetValue(true);
  WriteWholeFile(programDir + "/ostrel.jar", "the applet");
  WriteWholeFile(programDir + "/ostrel_tb1.jpg", "the toolbar");
  // The output field stays editable during the run; the page must still name
  // the file the run writes.
  wxTimer editor;
  editor.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
    if (frame->runningCheck->GetValue()) frame->outputPathText->ChangeValue("/elsewhere/other.osq");
  });
  editor.Start(20);

  wxTEST_DIALOG(Encode(), ExpectMessage(kStart, wxYES), ExpectMessage(kFinished, wxID_OK).Prefix());
  editor.Stop();

  const std::string page = ReadWholeFile(out.File("talk.htm"));
  ASSERT_FALSE(page.empty()) << "no page beside the output";
  EXPECT_NE(page.find("<param name=\"VideoPath\" value=\"talk.osq\">\r\n"), std::string::npos);
  EXPECT_NE(page.find("<p>Video: talk.osq&nbsp;&nbsp;Stream: ADSL1</p>"), std::string::npos);
  const int widest = frame->encodeControl.GetWidestOutput();
  const int tallest = frame->encodeControl.GetTallestOutput();
  ASSERT_GT(widest, 0);
  EXPECT_NE(page.find(" width=\"" + std::to_string(widest + 2) + "\" height=\"" + std::to_string(tallest + 27) + "\" "),
            std::string::npos)
      << "the applet sized from the run's largest output, with the toolbar";
  EXPECT_NE(page.find("ToolbarSkinPath"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(out.File("ostrel.jar")), "the applet");
  EXPECT_EQ(ReadWholeFile(out.File("ostrel_tb1.jpg")), "the toolbar");
  ASSERT_EQ(launcher.addresses.size(), 1u) << "Show video opens the page";
  EXPECT_EQ(launcher.addresses[0], out.File("talk.htm"));
  EXPECT_FALSE(fs::exists("/elsewhere"));
}

TEST_F(PublishFromWindowTest, FailedRunLeavesNoPage) {
  frame->encodeControl.SetTempDirectory(wxString::FromUTF8(temp.File("gone/away")));
  wxString said;
  wxTEST_DIALOG(Encode(), ExpectMessage(kStart, wxYES), ExpectMessage("", wxID_OK).Prefix().SaveText(&said));
  EXPECT_FALSE(said.StartsWith(kFinished)) << said;
  EXPECT_FALSE(fs::exists(out.File("talk.htm")));
  EXPECT_TRUE(launcher.addresses.empty());
}

}  // namespace

namespace {

// Settings are loaded unchecked; an encode started from nonsense in them is
// refused with a message, and nothing is written.
TEST_F(PublishFromWindowTest, EncodeFromLoadedNonsenseIsRefused) {
  struct Case {
    const char* name;
    const char* key;
    const char* value;
  };
  const std::vector<Case> cases = {
      {"start time", "/Controls/videoStart", "-5x"},   {"crop", "/Controls/videoCropLeft", "a lot"},
      {"end before start", "/Controls/videoEnd", "1"}, {"width", "/Controls/encode2/width", "wide"},
      {"frame rate", "/Controls/encode2/fps", "fast"}, {"video bitrate", "/Controls/encode2/videobitrate", "-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A sound set of settings, then one value of nonsense.
    for (wxTextCtrl* field : {frame->startTimeText, frame->endTimeText, frame->cropTopText, frame->cropRightText,
                              frame->cropBottomText, frame->cropLeftText})
      field->ChangeValue("0");
    frame->ResetStreamsToFactory();
    wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_SAVE_SETTINGS),
                  ExpectQuestion("Save current settings ?", "Ostrel", wxID_YES).NoDefault());
    wxConfigBase* config = wxConfigBase::Get();  // a fresh one each round
    config->Write("/Controls/videoStart", c.key == std::string("/Controls/videoEnd") ? "2" : "0");
    config->Write(c.key, c.value);
    SendCommand(frame, wxEVT_MENU, ID_MENU_LOAD_SETTINGS);

    wxString said;
    wxTEST_DIALOG(Encode(), ExpectMessage(kStart, wxYES), ExpectMessage("", wxID_OK).Prefix().SaveText(&said));
    EXPECT_FALSE(said.StartsWith(kFinished)) << said;
    EXPECT_FALSE(frame->runningCheck->GetValue());
    EXPECT_FALSE(fs::exists(out.File("talk.htm")));
    ResetTestConfig();
    ConfigureTempDir(wxString::FromUTF8(temp.Path()));
  }
}

}  // namespace

namespace {

/// The output chooser: its wildcard is kept, the chosen path given back.
class ExpectOutputChooser : public wxExpectModalBase<wxFileDialog, ExpectOutputChooser> {
 public:
  ExpectOutputChooser(const wxString& path, wxString* wildcard) : path_(path), wildcard_(wildcard) {}

 protected:
  int OnInvoked(wxFileDialog* dialog) const override {
    *wildcard_ = dialog->GetWildcard();
    dialog->SetPath(path_);
    return wxID_OK;
  }

 private:
  wxString path_;
  wxString* wildcard_;
};

// After the IIS switch the chooser offers "jpg" files and the checks ask for
// that extension, also in their examples; switching back brings "osq" back.
TEST_F(PublishFromWindowTest, ChooserAndChecksFollowTheExtensionInForce) {
  struct Case {
    bool iis;
    const char* extension;
    const char* other;
  };
  for (const Case& c : {Case{true, "jpg", "osq"}, Case{false, "osq", "jpg"}}) {
    SCOPED_TRACE(c.extension);
    frame->manageIisCheck->SetValue(c.iis);
    wxTEST_DIALOG(SendCommand(frame->manageIisCheck, wxEVT_CHECKBOX, ID_MANAGE_IIS, c.iis),
                  wxExpectModal<iisManager>(IisAnswer::Ok));
    ASSERT_EQ(frame->encodeControl.GetOutputExtension(), c.extension);

    wxString wildcard;
    const wxString chosen = wxString::FromUTF8(out.File("talk.")) + c.other;
    wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_SELECT_OUTPUT), ExpectOutputChooser(chosen, &wildcard));
    EXPECT_EQ(wildcard, wxString::Format("%s files (.%s)|*.%s", c.extension, c.extension, c.extension));
    ASSERT_EQ(frame->outputPathText->GetValue(), chosen);

    // The other extension is refused before anything is written.
    wxTEST_DIALOG(Encode(), ExpectMessage(kStart, wxYES),
                  ExpectMessage(wxString("Invalid output file name: e.g. mymedia.") + c.extension, wxOK));
    EXPECT_FALSE(fs::exists(chosen.utf8_string()));

    // A name that is all extension: the example keeps the one in force.
    const std::string bare = out.File(std::string(".") + c.extension);
    frame->outputPathText->ChangeValue(wxString::FromUTF8(bare));
    wxTEST_DIALOG(Encode(), ExpectMessage(kStart, wxYES),
                  ExpectMessage(wxString::Format("The output file name \".%s\" has no name before its extension: "
                                                 "name the file, e.g. mymedia.%s.",
                                                 c.extension, c.extension),
                                wxOK));
    EXPECT_FALSE(fs::exists(bare));
  }
}

}  // namespace
