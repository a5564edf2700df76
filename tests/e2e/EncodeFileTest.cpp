// Real files, made with ffmpeg at test time, encoded with the five factory
// profiles into containers that the tests' reader takes apart and FFmpeg
// decodes completely; broken files end with a clear failure, never a hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "EncodeRunner.h"
#include "OggDecodeCheck.h"
#include "ProfileDecodeCheck.h"
#include "SyncMarkers.h"
#include "TheoraDecode.h"
#include "OrvexaContainerReader.h"
#include "TempDir.h"
#include "TestMedia.h"
#include "ogg/keFrameRatioPolicy.h"
#include "keVideoSample.h"

namespace {

struct SourceCase {
  const char* file;
  double fps;      ///< the source's frame rate
  double seconds;  ///< its length
};

// The frames the engine's drop pattern keeps of `sourceFrames` frames: it
// keeps the first two and always the last, so a profile may run a frame or
// two longer than its rate times the length.
int KeptFrames(double sourceFps, double targetFps, int sourceFrames) {
  keFrameRatioPolicy policy;
  policy.SetSourceFps(sourceFps);
  policy.SetTargetFps(targetFps);
  policy.Reset();
  keVideoSample frame(nullptr, 16, 16, keVideoFormatYuv420);
  int kept = 0;
  for (int i = 0; i < sourceFrames; ++i) {
    frame.last = i + 1 == sourceFrames;
    policy.Decide(&frame);
    kept += policy.GetEmitCount();
  }
  return kept;
}

// Decodes every profile of the container and checks it against the profile's
// properties; `seconds` is the encoded span.
void ExpectProfilesDecode(const OrvexaContainer& container, double sourceFps, double seconds) {
  const auto profiles = container.AudioVideoContents();
  for (const OrvexaContent* content : profiles) {
    const std::string name = content->Property("content-name");
    SCOPED_TRACE(name);
    const DecodedProfile decoded = ExpectProfileDecodes(*content);
    ASSERT_TRUE(decoded.Complete());
    const DecodedOggStream* video = decoded.video;
    const DecodedOggStream* audio = decoded.audio;

    // Frames are only dropped, never repeated: a profile faster than the
    // source runs at the source's rate.
    const double fps = std::stod(content->Property("video-fps-num")) / 1000.0;
    EXPECT_LE(fps, std::max(sourceFps, 0.0) + 0.001);
    const int sourceFrames = static_cast<int>(std::lround(sourceFps * seconds));
    EXPECT_NEAR(static_cast<double>(video->frames), KeptFrames(sourceFps, fps, sourceFrames), 1.0 + 1e-9)
        << video->frames << " frames at " << fps << " fps for " << seconds << " s";
    EXPECT_LE(static_cast<double>(video->frames), fps * seconds + 2.0);
    EXPECT_NEAR(audio->durationSeconds, seconds, 0.15);
    EXPECT_TRUE(container.SeekIndexFor(content->id) != nullptr);
  }
}

}  // namespace

class EncodeEveryFormat : public ::testing::TestWithParam<SourceCase> {};

TEST_P(EncodeEveryFormat, AllFiveProfilesDecodeCompletely) {
  const SourceCase& source = GetParam();
  TempDir dir;
  const std::string out = dir.File("out.orx");
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path(source.file), out, dir.Path());
  ASSERT_TRUE(ProbeInto(fields)) << source.file << " was rejected by the probe";

  const EncodeOutcome outcome = RunEncode(fields);
  ASSERT_TRUE(outcome.finished) << "the encode never finished";
  ASSERT_TRUE(outcome.succeeded) << outcome.failureText;
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"}) << "temporary files left behind";

  const OrvexaContainer container = ReadOrvexaContainerFile(out);
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  ASSERT_EQ(container.AudioVideoContents().size(), 5u);
  EXPECT_EQ(container.contents.size(), 10u);
  ExpectProfilesDecode(container, source.fps, source.seconds);
}

INSTANTIATE_TEST_SUITE_P(SourceFilter, EncodeEveryFormat,
                         ::testing::Values(SourceCase{"av.avi", 25, 2}, SourceCase{"av.mpg", 25, 2},
                                           SourceCase{"av.mpeg", 25, 2}, SourceCase{"av.mov", 25, 2},
                                           SourceCase{"av.mp4", 25, 2}, SourceCase{"av.3gp", 15, 2},
                                           SourceCase{"av.flv", 25, 2}, SourceCase{"rate50.mp4", 50, 1}),
                         [](const ::testing::TestParamInfo<SourceCase>& info) {
                           std::string name = info.param.file;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

// Streams that lie far apart in the file, further than the reader lets one
// decode ahead of the other: the encode finishes and keeps all of each
// stream, to the end of the longer one. Audio that starts 3 s into 8 s of
// video is preceded by 3 s of silence; 1 s of video under 5 s of sound shows
// its last picture for the 4 s after it.
TEST(EncodeFile, StreamsFarApartEncodeWhole) {
  struct Case {
    const char* file;
    double seconds;
  };
  for (const Case& c : {Case{"lateaudio.mp4", 8}, Case{"shortvideo.mp4", 5}}) {
    SCOPED_TRACE(c.file);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path(c.file), out, dir.Path());
    ASSERT_TRUE(ProbeInto(fields));
    const EncodeOutcome outcome = RunEncode(fields);
    ASSERT_TRUE(outcome.finished) << "the encode never finished";
    ASSERT_TRUE(outcome.succeeded) << outcome.failureText;
    EXPECT_TRUE(outcome.warnings.empty()) << outcome.warnings[0];
    const OrvexaContainer container = ReadOrvexaContainerFile(out);
    EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
    for (const OrvexaContent* content : container.AudioVideoContents()) {
      SCOPED_TRACE(content->Property("content-name"));
      const OggDecodeResult decoded = DecodeOggBytes(content->oggBytes);
      ASSERT_TRUE(decoded.probed) << decoded.errorText;
      EXPECT_FALSE(decoded.decodeErrors) << decoded.errorText;
      // Counted with the repeated pictures, which FFmpeg's count leaves out.
      const SyncMarkers counted = FindSyncMarkers(content->oggBytes);
      ASSERT_TRUE(counted.decoded) << counted.errorText;
      const double fps = std::stod(content->Property("video-fps-num")) / 1000.0;
      EXPECT_NEAR(counted.frames / fps, c.seconds, 2.0 / fps) << counted.frames << " frames";
      EXPECT_NEAR(static_cast<double>(counted.samples) / counted.sampleRate, c.seconds, 0.15);
      EXPECT_NEAR(std::stod(content->Property("content-duration")) / 1000.0, c.seconds, 0.05);
    }
  }
}

TEST(EncodeFile, ATimeRangeEncodesOnlyThatRange) {
  TempDir dir;
  const std::string out = dir.File("out.orx");
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), out, dir.Path());
  fields.startSeconds = "0.5";
  fields.endSeconds = "1.5";
  ASSERT_TRUE(ProbeInto(fields));
  const EncodeOutcome outcome = RunEncode(fields);
  ASSERT_TRUE(outcome.finished && outcome.succeeded) << outcome.failureText;
  const OrvexaContainer container = ReadOrvexaContainerFile(out);
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  for (const OrvexaContent* content : container.AudioVideoContents())
    EXPECT_EQ(content->Property("content-duration"), "1000");
  ExpectProfilesDecode(container, 25, 1.0);
}

// Files the window's probe turns away; forced through the engine anyway they
// must end with a failure, not hang, crash or report success.
TEST(EncodeFile, BrokenFilesFailClearlyAndLeaveNothingBehind) {
  for (const char* file : {"empty.avi", "random.mpg", "noaudiocodec.avi", "novideocodec.avi", "video.avi"}) {
    SCOPED_TRACE(file);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path(file), out, dir.Path());
    EXPECT_FALSE(ProbeInto(fields));
    fields.sourceWidth = 160;
    fields.sourceHeight = 120;
    const EncodeOutcome outcome = RunEncode(fields, 60.0);
    EXPECT_TRUE(outcome.finished) << "the encode hung";
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(outcome.failureText.empty());
    std::remove(out.c_str());  // as the window does after a failed run
    EXPECT_TRUE(dir.Entries().empty()) << "temporary files left behind";
  }
}

TEST(EncodeFile, TruncatedFilesNeverHang) {
  for (const char* file : {"truncated.avi", "truncated.mp4"}) {
    SCOPED_TRACE(file);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path(file), out, dir.Path());
    if (!ProbeInto(fields)) continue;  // turned away: nothing to encode
    const EncodeOutcome outcome = RunEncode(fields, 60.0);
    ASSERT_TRUE(outcome.finished) << "the encode hung";
    if (outcome.succeeded) {
      // What could be decoded makes a sound container.
      const OrvexaContainer container = ReadOrvexaContainerFile(out);
      EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
    }
    std::remove(out.c_str());
    EXPECT_TRUE(dir.Entries().empty());
  }
}

// A file cut off half-way still declares its whole length: what it holds is
// encoded, the container declares that much, picture and sound end
// together, and the run says that the source ended early.
TEST(EncodeFile, CutOffFilesEncodeWhatTheyHoldAndSaySo) {
  for (const char* file : {"half.mp4", "half.mkv", "half.flv"}) {
    SCOPED_TRACE(file);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path(file), out, dir.Path());
    ASSERT_TRUE(ProbeInto(fields));
    const EncodeOutcome outcome = RunEncode(fields, 120.0);
    ASSERT_TRUE(outcome.finished && outcome.succeeded) << outcome.failureText;
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find("the source ends at"), std::string::npos) << outcome.warnings[0];
    const OrvexaContainer container = ReadOrvexaContainerFile(out);
    EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
    for (const OrvexaContent* content : container.AudioVideoContents()) {
      SCOPED_TRACE(content->Property("content-name"));
      const double fps = std::stod(content->Property("video-fps-num")) / 1000.0;
      const SyncMarkers decoded = FindSyncMarkers(content->oggBytes);
      ASSERT_TRUE(decoded.decoded) << decoded.errorText;
      const double videoSeconds = static_cast<double>(decoded.frames) / fps;
      const double audioSeconds = static_cast<double>(decoded.samples) / decoded.sampleRate;
      EXPECT_GT(videoSeconds, 1.5);
      EXPECT_LT(videoSeconds, 4.0);
      EXPECT_NEAR(audioSeconds, videoSeconds, 2.0 / fps + 1e-6);
      EXPECT_NEAR(std::stod(content->Property("content-duration")) / 1000.0, videoSeconds, 2.0 / fps + 1e-6);
    }
  }
}

// Profiles of 16x16 and smaller are encoded as one 16x16 block: libtheora's
// own decoder, which defines the format, takes every frame (FFmpeg's decoder
// refuses frames that small; see the README). Sizes are whole blocks.
TEST(EncodeFile, TinyProfilesAreValidTheora) {
  struct Case {
    int width, height, encoded;
  };
  for (const Case& c : {Case{16, 16, 16}, Case{8, 8, 16}, Case{18, 18, 32}}) {
    const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    SCOPED_TRACE(size);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), out, dir.Path());
    fields.rows = {};
    fields.rows[0] = {"1", "Tiny", std::to_string(c.width), std::to_string(c.height), "25", "100", "32"};
    ASSERT_TRUE(ProbeInto(fields));
    const EncodeOutcome outcome = RunEncode(fields);
    ASSERT_TRUE(outcome.finished && outcome.succeeded) << outcome.failureText;
    const OrvexaContainer container = ReadOrvexaContainerFile(out);
    ASSERT_EQ(container.AudioVideoContents().size(), 1u);
    const TheoraDecodeResult decoded = DecodeTheoraWithLibtheora(container.AudioVideoContents()[0]->oggBytes);
    ASSERT_TRUE(decoded.headersDecoded);
    EXPECT_EQ(decoded.pictureWidth, c.encoded);
    EXPECT_EQ(decoded.pictureHeight, c.encoded);
    EXPECT_EQ(decoded.frameWidth, c.encoded);
    EXPECT_EQ(decoded.errors, 0);
    EXPECT_EQ(decoded.frames, 50);
  }
}
