// Choosing the source and the output, probing the source at every change of
// the input field, and the preview.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/mediactrl.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EncodeTestFrame.h"
#include "EncodeTestSupport.h"
#include "ModalExpectations.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace {

const char kSourceTitle[] = "Choose your source file name ";
const char kSourceWildcard[] =
    "Files (avi,mpg,mpeg,mov,mp4,3gp,mp3,wav,flv)|*.avi;*.mpg;*.mpeg;*.mov;*.mp4;*.3gp;*.mp3;*.wav;*.flv|"
    "All files (*.*)|*.*";
const char kNoCodec[] =
    "Unable to find any audio/video codec.\n\n"
    "Perhaps an appropriate audio/video codec is not present in the system.\n\n"
    "Try to download it by visiting the appropriate website.\n";

class EncodeSource : public ::testing::Test {
 protected:
  void SetUp() override { frame = new EncodeTestFrame; }
  void TearDown() override { CloseFrame(frame); }

  std::vector<std::string> Facts() const {
    std::vector<std::string> shown;
    for (wxTextCtrl* fact : frame->facts) shown.push_back(fact->GetValue().utf8_string());
    return shown;
  }

  EncodeTestFrame* frame = nullptr;
};

}  // namespace

// The file dialog only answers with paths in folders that exist.
TEST_F(EncodeSource, ChoosingTheSourceProposesAnOutputBesideItOrInTheOutputsFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("clips"));
  std::filesystem::create_directories(dir.File("out"));
  const std::string d = dir.Path();
  struct Case {
    const char* what;
    std::string inputBefore;
    std::string outputBefore;
    std::string chosen;
    std::string startDir;  // "" for the home folder
    std::string output;
  };
  const std::vector<Case> cases = {
      {"output empty: beside the source", "", "", d + "/clips/holiday.avi", "", d + "/clips/holiday.osq"},
      {"output set: its folder stays", d + "/clips/in.avi", d + "/out/old.osq", d + "/clips/holiday.mp4", d + "/clips",
       d + "/out/holiday.osq"},
      {"last dot only", "", "", d + "/clips/a.b.mov", "", d + "/clips/a.b.osq"},
      {"no dot: empty base", "", "", d + "/clips/README", "", d + "/clips/.osq"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // An open dialog answers only with files that exist; a real source keeps
    // the probe that the change starts quiet.
    std::filesystem::copy_file(TestMedia::Path("av.avi"), c.chosen, std::filesystem::copy_options::overwrite_existing);
    frame->input->ChangeValue(c.inputBefore);
    frame->output->ChangeValue(c.outputBefore);
    const wxString startDir = c.startDir.empty() ? wxGetHomeDir() : wxString(c.startDir);
    bool chosen = false;
    wxTEST_DIALOG(chosen = frame->control.ChooseSourceFile(frame->input, frame->output, frame),
                  ExpectFile(kSourceTitle, kSourceWildcard, FileChoice::kOpen, c.chosen).Directory(startDir));
    EXPECT_TRUE(chosen);
    EXPECT_EQ(frame->input->GetValue().utf8_string(), c.chosen);
    EXPECT_EQ(frame->output->GetValue().utf8_string(), c.output);
  }
}

TEST_F(EncodeSource, CancellingEitherChoiceChangesNothing) {
  frame->input->ChangeValue("/media/in.avi");
  frame->output->ChangeValue("/srv/out.osq");
  bool chosen = true;
  wxTEST_DIALOG(chosen = frame->control.ChooseSourceFile(frame->input, frame->output, frame),
                ExpectFile(kSourceTitle, kSourceWildcard, FileChoice::kOpen, "", wxID_CANCEL).Directory("/media"));
  EXPECT_FALSE(chosen);
  wxTEST_DIALOG(frame->control.ChooseOutputFile(frame->output, frame),
                ExpectFile("Set your output file name", "osq files (.osq)|*.osq", FileChoice::kSave, "", wxID_CANCEL)
                    .Directory("/srv"));
  EXPECT_EQ(frame->input->GetValue(), "/media/in.avi");
  EXPECT_EQ(frame->output->GetValue(), "/srv/out.osq");
  EXPECT_EQ(frame->probeCount, 0);
}

TEST_F(EncodeSource, ChoosingTheOutputTakesTheNameAsGivenUnderTheCurrentExtension) {
  TempDir dir;
  WriteWholeFile(dir.File("clip.OSQ"), "old");
  frame->control.SetOutputExtension("zip");
  wxTEST_DIALOG(
      frame->control.ChooseOutputFile(frame->output, frame),
      ExpectFile("Set your output file name", "zip files (.zip)|*.zip", FileChoice::kSave, dir.File("clip.OSQ"))
          .Directory(wxGetHomeDir()));
  EXPECT_EQ(frame->probeCount, 0);
  // Not corrected here: the checks before a run refuse it.
  EXPECT_EQ(frame->output->GetValue().utf8_string(), dir.File("clip.OSQ"));
}

TEST_F(EncodeSource, ProbeShowsTheSixFactsAndEnablesEncode) {
  struct Case {
    const char* file;
    std::vector<std::string> facts;  // width, height, duration, fps, channels, rate
  };
  const std::vector<Case> cases = {
      {"av.avi", {"160", "120", "00:00:02", "25.00", "Stereo", "44100"}},
      {"av.3gp", {"176", "144", "00:00:02", "15.00", "Mono", "22050"}},
      {"av.mpeg", {"160", "120", "00:00:02", "25.00", "Stereo", "48000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    frame->encodeButton->Disable();
    frame->input->SetValue(TestMedia::Path(c.file));  // no dialog: an unexpected one fails
    EXPECT_EQ(Facts(), c.facts);
    EXPECT_TRUE(frame->encodeButton->IsEnabled());
    EXPECT_EQ(frame->control.GetSourceWidth(), std::stoi(c.facts[0]));
    EXPECT_EQ(frame->control.GetSourceHeight(), std::stoi(c.facts[1]));
  }
}

TEST_F(EncodeSource, SourceThatCannotBeEncodedShowsTheCodecMessageAndDisablesEncode) {
  struct Case {
    const char* file;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"audio.mp3", "no picture"},
      {"video.avi", "no audio"},
      {"random.mpg", "not media"},
      {"empty.avi", "no bytes"},
      {"noaudiocodec.avi", "audio not decodable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ": " + c.why);
    frame->encodeButton->Enable();
    wxTEST_DIALOG(frame->input->SetValue(TestMedia::Path(c.file)),
                  ExpectEditionMessage(kNoCodec, wxID_OK).Icon(wxICON_INFORMATION));
    EXPECT_FALSE(frame->encodeButton->IsEnabled());
  }
  // What cannot be encoded still shows what it has; no audio channel at all
  // reads "Stereo", as any count but one does.
  wxTEST_DIALOG(frame->input->SetValue(TestMedia::Path("mono8k.wav")), ExpectEditionMessage(kNoCodec, wxID_OK));
  EXPECT_EQ(Facts(), (std::vector<std::string>{"0", "0", "00:00:02", "0.00", "Mono", "8000"}));
  wxTEST_DIALOG(frame->input->SetValue(TestMedia::Path("video.avi")), ExpectEditionMessage(kNoCodec, wxID_OK));
  EXPECT_EQ(Facts()[0], "160");
  EXPECT_EQ(Facts()[4], "Stereo");
  EXPECT_EQ(Facts()[5], "0");
}

TEST_F(EncodeSource, TypingProbesAtEveryChangeButAPartialPathDoesNothing) {
  const std::string path = TestMedia::Path("av.avi");
  for (wxTextCtrl* fact : frame->facts) fact->ChangeValue("untouched");
  frame->encodeButton->Disable();
  frame->TypeInput(path.substr(0, path.size() - 1));                // ".../av.av": no such file
  EXPECT_EQ(frame->probeCount, static_cast<int>(path.size()) - 1);  // one per character
  EXPECT_EQ(Facts(), std::vector<std::string>(6, "untouched"));
  EXPECT_FALSE(frame->encodeButton->IsEnabled());
  frame->input->AppendText("i");
  EXPECT_EQ(Facts(), (std::vector<std::string>{"160", "120", "00:00:02", "25.00", "Stereo", "44100"}));
  EXPECT_TRUE(frame->encodeButton->IsEnabled());
  // A folder is not a file either.
  frame->input->SetValue(wxGetHomeDir());
  EXPECT_EQ(Facts()[0], "160");
}

TEST(EncodeSourcePreview, LoadedPreviewWaitsAtItsFirstPicture) {
  auto* frame = new EncodeTestFrame(/*withMedia=*/true);
  if (!frame->media || !frame->media->GetHandle()) {
    CloseFrame(frame);
    GTEST_SKIP() << "no media backend on this system";
  }
  frame->input->SetValue(TestMedia::Path("av.avi"));
  const bool loaded = WaitUntil([&] { return frame->mediaLoadedCount > 0; }, 10.0);
  if (!loaded) {
    CloseFrame(frame);
    GTEST_SKIP() << "the media backend loads nothing here";
  }
  WaitUntil([&] { return frame->media->GetState() == wxMEDIASTATE_PAUSED; }, 5.0);
  EXPECT_EQ(frame->media->GetState(), wxMEDIASTATE_PAUSED);
  EXPECT_LE(frame->media->Tell(), 200);
  CloseFrame(frame);
}
