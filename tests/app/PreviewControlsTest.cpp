// The preview as a person uses it: played, paused and moved with its own
// controls, its position copied by the time range's "Set" buttons, every
// listed picture format shown, and the picture kept through a run and
// cleared for a refused source. Real media from the ffmpeg tool.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/mediactrl.h>
#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "PreviewControls.h"
#include "TestMedia.h"

namespace {

const char kNoCodec[] =
    "Unable to find any audio/video codec.\n\nPerhaps an appropriate audio/video codec is not present in the "
    "system.\n\nTry to download it by visiting the appropriate website.\n";

class PreviewControlsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    BuildQuietFrame();
    frame->Show();
    controls = PreviewControls::Of(frame->mediaCtrl);
  }

  /// Types the source's path and waits until the preview holds it, paused.
  bool LoadAndWait(const std::string& path) {
    frame->inputPathText->SetValue(wxString::FromUTF8(path));
    // The length comes a little after the loaded event; the slider takes it.
    return WaitUntil([&] { return controls->GetPlayButton()->IsEnabled(); }, 15.0) &&
           WaitUntil([&] { return frame->mediaCtrl->GetState() == wxMEDIASTATE_PAUSED; }, 5.0) &&
           WaitUntil([&] { return controls->GetSlider()->GetMax() > 1; }, 5.0);
  }

  /// Moves the slider as a drag would, then waits for the preview to be there
  /// (the backend's seeks land on key frames: the positions used are ones).
  bool SeekTo(int milliseconds) {
    controls->GetSlider()->SetValue(milliseconds);
    wxCommandEvent moved(wxEVT_SLIDER, controls->GetSlider()->GetId());
    moved.SetInt(milliseconds);
    moved.SetEventObject(controls->GetSlider());
    controls->GetSlider()->GetEventHandler()->ProcessEvent(moved);
    return WaitUntil([&] { return std::abs(frame->mediaCtrl->Tell() - milliseconds) < 300; }, 5.0);
  }

  void Click(wxButton* button) {
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
  }

  PreviewControls* controls = nullptr;
};

TEST_F(PreviewControlsTest, SetCopiesAPositionReachedByASeekOrByPlaying) {
  ASSERT_NE(frame->mediaCtrl, nullptr);
  ASSERT_NE(controls, nullptr);
  EXPECT_FALSE(controls->GetPlayButton()->IsEnabled());
  ASSERT_TRUE(LoadAndWait(TestMedia::Path("sync_lateaudio.mp4")));
  EXPECT_LE(frame->mediaCtrl->Tell(), 200);

  ASSERT_TRUE(SeekTo(4500)) << frame->mediaCtrl->Tell();
  SendCommand(frame, wxEVT_BUTTON, ID_SET_START);
  EXPECT_EQ(frame->startTimeText->GetValue(), "4");
  EXPECT_TRUE(WaitUntil([&] { return controls->GetPositionText()->GetLabel() == "00:00:04 / 00:00:06"; }, 2.0))
      << controls->GetPositionText()->GetLabel();

  ASSERT_TRUE(SeekTo(1200));
  Click(controls->GetPlayButton());
  ASSERT_TRUE(WaitUntil([&] { return frame->mediaCtrl->Tell() >= 2100; }, 10.0)) << frame->mediaCtrl->Tell();
  EXPECT_EQ(controls->GetPlayButton()->GetLabel(), "Pause") << frame->mediaCtrl->GetState();
  Click(controls->GetPlayButton());
  ASSERT_TRUE(WaitUntil([&] { return frame->mediaCtrl->GetState() == wxMEDIASTATE_PAUSED; }, 5.0));
  const wxFileOffset paused = frame->mediaCtrl->Tell();
  SendCommand(frame, wxEVT_BUTTON, ID_SET_END);
  EXPECT_EQ(frame->endTimeText->GetValue(), wxString::Format("%d", static_cast<int>(paused / 1000)));
  EXPECT_NE(frame->endTimeText->GetValue(), "0");
}

TEST_F(PreviewControlsTest, AfterARunStoppedItThePictureIsBackWhereItWas) {
  ASSERT_NE(frame->mediaCtrl, nullptr);
  ASSERT_TRUE(LoadAndWait(TestMedia::Path("sync_lateaudio.mp4")));
  ASSERT_TRUE(SeekTo(3000));
  // What a run does to the preview, and what its end does.
  frame->mediaCtrl->Stop();
  wxYield();
  PreviewControls::ShowSourceAgain(frame->mediaCtrl);
  EXPECT_TRUE(WaitUntil([&] { return frame->mediaCtrl->GetState() == wxMEDIASTATE_PAUSED; }, 5.0));
  EXPECT_TRUE(WaitUntil([&] { return std::abs(frame->mediaCtrl->Tell() - 3000) < 300; }, 5.0))
      << frame->mediaCtrl->Tell();
  SendCommand(frame, wxEVT_BUTTON, ID_SET_START);
  EXPECT_EQ(frame->startTimeText->GetValue(), "3");
}

/// The run's closing message, whose total time varies.
class ExpectFinished : public wxExpectModalBase<wxMessageDialog, ExpectFinished> {
 protected:
  int OnInvoked(wxMessageDialog* dialog) const override {
    EXPECT_TRUE(dialog->GetMessage().StartsWith("Finished Encoding")) << dialog->GetMessage();
    return wxID_OK;
  }
};

// A real encode from the window: the run stops the preview, its end shows the
// source's picture again where it was.
TEST_F(PreviewControlsTest, AfterAnEncodeThePreviewIsPausedWhereItWas) {
  ASSERT_NE(frame->mediaCtrl, nullptr);
  ASSERT_TRUE(LoadAndWait(TestMedia::Path("sync_lateaudio.mp4")));
  ASSERT_TRUE(SeekTo(3000)) << frame->mediaCtrl->Tell();
  const wxFileOffset before = frame->mediaCtrl->Tell();
  frame->outputPathText->SetValue(wxString::FromUTF8(programDir + "/out.osq"));
  frame->htmlPageCheck->SetValue(false);
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_ENCODE_BUTTON), ExpectMessage("Start encoding ?", wxYES),
                ExpectFinished());
  EXPECT_TRUE(std::filesystem::exists(programDir + "/out.osq"));
  EXPECT_TRUE(WaitUntil([&] { return frame->mediaCtrl->GetState() == wxMEDIASTATE_PAUSED; }, 5.0));
  EXPECT_TRUE(WaitUntil([&] { return std::abs(frame->mediaCtrl->Tell() - before) < 300; }, 5.0))
      << frame->mediaCtrl->Tell() << " before the run: " << before;
}

// Every picture format the source chooser lists is shown: the preview gets
// as far as its first picture (paused, with the source's length); without a
// demuxer or decoder for it the backend stops with an error instead.
TEST_F(PreviewControlsTest, EveryListedPictureFormatIsPreviewed) {
  ASSERT_NE(frame->mediaCtrl, nullptr);
  for (const char* name : {"av.avi", "av.mpg", "av.mpeg", "av.mov", "av.mp4", "av.3gp", "av.flv"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(LoadAndWait(TestMedia::Path(name)));
    EXPECT_NEAR(frame->mediaCtrl->Length(), 2000, 200);
    EXPECT_EQ(controls->GetSlider()->GetMax(), frame->mediaCtrl->Length());
  }
}

TEST_F(PreviewControlsTest, ARefusedSourceLeavesNoPictureOrFactsOfTheOneBefore) {
  ASSERT_NE(frame->mediaCtrl, nullptr);
  ASSERT_TRUE(LoadAndWait(TestMedia::Path("av.mp4")));
  ASSERT_EQ(frame->widthText->GetValue(), "160");
  wxTEST_DIALOG(frame->inputPathText->SetValue(wxString::FromUTF8(TestMedia::Path("random.mpg"))),
                ExpectMessage(kNoCodec, wxOK));
  EXPECT_EQ(frame->widthText->GetValue(), "0");
  EXPECT_EQ(frame->heightText->GetValue(), "0");
  // The backend gives up on it: the old source's picture is gone, and there
  // is nothing to play.
  EXPECT_TRUE(WaitUntil([&] { return frame->mediaCtrl->GetState() == wxMEDIASTATE_STOPPED; }, 5.0));
  EXPECT_TRUE(WaitUntil([&] { return !controls->GetPlayButton()->IsEnabled(); }, 5.0));
}

}  // namespace
