// The encode set-up: the window's fields and rows turned into a plan by the
// gate and into configured engine objects by the builder, checked on the
// objects before anything runs.
#include <gtest/gtest.h>

#include "EncodeRunner.h"
#include "KestrinAvEncoder.h"
#include "OrvexaContainerReader.h"
#include "orvexa/OrvexaOutput.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "keAVSource.h"
#include "keFactory.h"
#include "ogg/keTheoraEncoderSettings.h"
#include "keVideoSource.h"
#include "ogg/keVorbisEncoderSettings.h"

namespace {

struct SizeCase {
  const char* what;
  int sourceWidth, sourceHeight;
  bool keepSource, keepAspect;
  const char* rowWidth;
  const char* rowHeight;
  int width, height;  // what the Theora encoder is set to (0: left at its default)
  double aspect;
  int encodedWidth, encodedHeight;  // the picture it writes
};

}  // namespace

TEST(EncodeSetup, OutputSizesFollowTheBoxes) {
  const std::vector<SizeCase> cases = {
      {"source kept", 720, 576, true, false, "320", "256", 720, 576, 1.25, 720, 576},
      {"source kept, raised to 16", 330, 250, true, false, "320", "256", 336, 256, 1.32, 336, 256},
      {"aspect kept", 720, 576, false, true, "320", "0", 320, 256, 1.25, 320, 256},
      {"portrait as its mirror", 480, 640, false, true, "320", "0", 320, 256, 1.25, 320, 256},
      {"row as it is", 720, 576, false, false, "272", "218", 272, 218, 1.25, 272, 224},
      {"width 0 left alone", 720, 576, false, false, "0", "240", 0, 240, 1.25, 720, 240},
      {"odd sizes", 720, 576, false, false, "321", "241", 321, 241, 1.25, 336, 256},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), dir.File("out.orx"), dir.Path());
    fields.rows = {};
    fields.rows[3] = {"1", "Only", c.rowWidth, c.rowHeight, "25", "256", "40"};
    fields.sourceWidth = c.sourceWidth;
    fields.sourceHeight = c.sourceHeight;
    fields.keepSourceDimensions = c.keepSource;
    fields.keepAspectRatio = c.keepAspect;
    const PlanOrRefusal planned = PlanEncode(fields);
    ASSERT_TRUE(planned.Planned()) << planned.refusal;
    keFactory factory;
    EncodeRun run;
    BuildEncodeEngine(factory, planned.plan, run);
    ASSERT_EQ(run.encoders.size(), 1u);
    EXPECT_EQ(run.streamCount, 1);
    EXPECT_NEAR(planned.plan.aspectRatio, c.aspect, 0.001);
    keTheoraEncoderSettings* video = run.encoders[0]->GetVideoEncoder();
    EXPECT_EQ(video->GetWidth(), c.width);
    EXPECT_EQ(video->GetHeight(), c.height);
    EXPECT_EQ(planned.plan.WidestEncoded(), c.encodedWidth);
    EXPECT_EQ(planned.plan.TallestEncoded(), c.encodedHeight);
    EXPECT_STREQ(run.encoders[0]->GetName(), "Only");
  }
}

TEST(EncodeSetup, AudioFormatByBitrate) {
  struct Case {
    int kbps, rate, channels;
  };
  for (const Case& c :
       std::vector<Case>{{11, 8000, 1}, {12, 11025, 1}, {22, 11025, 1}, {40, 22050, 2}, {41, 44100, 2}}) {
    const AudioFormat format = AudioFormatForBitrate(c.kbps);
    EXPECT_EQ(format.sampleRate, c.rate) << c.kbps;
    EXPECT_EQ(format.channels, c.channels) << c.kbps;
  }
}

TEST(EncodeSetup, EveryRowIsConnectedAndOnlyNonZeroSettingsReachTheReader) {
  TempDir dir;
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), dir.File("out.orx"), dir.Path());
  fields.rows[1][kColumnEncode] = "";  // ISDN not selected
  fields.sourceWidth = 160;
  fields.sourceHeight = 120;
  fields.cropTop = "0";
  fields.cropLeft = "8";
  fields.endSeconds = "0";
  const PlanOrRefusal planned = PlanEncode(fields);
  ASSERT_TRUE(planned.Planned()) << planned.refusal;
  keFactory factory;
  EncodeRun run;
  BuildEncodeEngine(factory, planned.plan, run);
  ASSERT_EQ(run.encoders.size(), 4u);
  EXPECT_EQ(run.streamCount, 4);
  EXPECT_STREQ(run.encoders[1]->GetName(), "ADSL1");
  for (KestrinAvEncoder* encoder : run.encoders) {
    EXPECT_EQ(encoder->GetSource(), run.reader);
    EXPECT_TRUE(encoder->IsAudioConnected());
    EXPECT_TRUE(encoder->IsVideoConnected());
    EXPECT_EQ(encoder->GetVideoPolicy(), 0);
    EXPECT_EQ(encoder->GetAudioPolicy(), 0);
    keVorbisEncoderSettings* audio = encoder->GetAudioEncoder();
    EXPECT_EQ(audio->GetMinBitrate(), audio->GetMaxBitrate());
    EXPECT_EQ(audio->GetNominalBitrate(), audio->GetMaxBitrate());
  }
  EXPECT_EQ(run.encoders[0]->GetAudioEncoder()->GetSampleRate(), 11025);  // Modem, 12 kbit/s
  EXPECT_EQ(run.encoders[0]->GetVideoEncoder()->GetBitrate(), 40000);
  keVideoSource* video = run.reader->GetVideoSource();
  EXPECT_EQ(video->GetCropLeft(), 8);
  EXPECT_EQ(video->GetCropTop(), 0);
  EXPECT_GT(run.reader->GetEndTime(), 1.9);  // an end of 0 keeps the source's end
  EXPECT_EQ(run.output->GetWriter()->ContentCount(), 4);
  // Destroyed without ever running: nothing may wait or leak.
}

// What the plan says is encoded is what the container holds: an odd row is
// raised to a multiple of 16, a size of 0 leaves the source's (the page's
// applet is sized from these).
TEST(EncodeSetup, ThePlannedSizesAreTheSizesEncoded) {
  TempDir dir;
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(ProbeInto(fields));
  fields.rows = {};
  fields.rows[0] = {"1", "Odd", "321", "241", "25", "256", "40"};
  fields.rows[1] = {"1", "Source", "0", "0", "25", "256", "40"};
  const PlanOrRefusal planned = PlanEncode(fields);
  ASSERT_TRUE(planned.Planned()) << planned.refusal;
  const EncodeOutcome outcome = RunEncode(fields);
  ASSERT_TRUE(outcome.succeeded) << outcome.failureText;
  const OrvexaContainer container = ReadOrvexaContainerFile(dir.File("out.orx"));
  ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
  std::vector<std::pair<int, int>> encoded;
  for (const OrvexaContent* content : container.AudioVideoContents())
    for (const auto& [serial, stream] : content->streams)
      if (stream.codec == "theora") encoded.emplace_back(stream.frameWidth, stream.frameHeight);
  std::vector<std::pair<int, int>> expected;
  for (const ProfilePlan& profile : planned.plan.profiles)
    expected.emplace_back(profile.encodedWidth, profile.encodedHeight);
  EXPECT_EQ(encoded, expected);
  EXPECT_EQ(expected[0], std::make_pair(336, 256));
  EXPECT_EQ(expected[1], std::make_pair(AlignTo16(fields.sourceWidth), AlignTo16(fields.sourceHeight)));
  EXPECT_EQ(outcome.widestOutput, std::max(336, AlignTo16(fields.sourceWidth)));
}
