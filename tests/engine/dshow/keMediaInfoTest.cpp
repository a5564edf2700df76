// The application's media probe and the frame-rate measurement over
// generated files.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "dshow/keFrameRateProbe.h"
#include "dshow/keDirectShowReader.h"
#include "dshow/keMediaInfo.h"
#include "keVideoSource.h"

namespace {

struct InfoCase {
  const char* file;
  bool opened, renderable, audioNotRendered, videoNotRendered;
  bool audio, video;
  int width, height;
  double frameRate;
  int channels, sampleRate;
  double duration;  // within 0.1
};

TEST(keMediaInfo, AnswersForEveryKindOfFile) {
  const std::vector<InfoCase> cases = {
      {"av.avi", true, true, false, false, true, true, 160, 120, 25, 2, 44100, 2.0},
      {"av.mpg", true, true, false, false, true, true, 160, 120, 25, 2, 44100, 2.0},
      {"av.mpeg", true, true, false, false, true, true, 160, 120, 25, 2, 48000, 2.0},
      {"av.mov", true, true, false, false, true, true, 160, 120, 25, 2, 48000, 2.0},
      {"av.mp4", true, true, false, false, true, true, 160, 120, 25, 2, 44100, 2.0},
      {"av.3gp", true, true, false, false, true, true, 176, 144, 15, 1, 22050, 2.0},
      {"av.flv", true, true, false, false, true, true, 160, 120, 25, 2, 22050, 2.0},
      // Rates above 40 are passed on as the file states them.
      {"rate50.mp4", true, true, false, false, true, true, 160, 120, 50, 1, 44100, 1.0},
      {"odd.avi", true, true, false, false, false, true, 160, 120, 25, 0, 0, 1.0},
      // Delivered stretched to 2x2, but one picture element it is.
      {"onepixel.avi", true, true, false, false, true, true, 1, 1, 25, 2, 44100, 1.0},
      {"video.avi", true, true, false, false, false, true, 160, 120, 25, 0, 0, 2.0},
      {"audio.mp3", true, true, false, false, true, false, 0, 0, 0, 1, 22050, 2.06},
      {"cover.mp3", true, true, false, false, true, false, 0, 0, 0, 2, 44100, 2.04},
      {"mono8k.wav", true, true, false, false, true, false, 0, 0, 0, 1, 8000, 2.0},
      {"surround.wav", true, true, false, false, true, false, 0, 0, 0, 6, 32000, 2.0},
      {"noaudiocodec.avi", true, false, true, false, true, true, 160, 120, 25, 2, 44100, 2.0},
      {"novideocodec.avi", true, false, false, true, true, true, 160, 120, 25, 2, 44100, 2.0},
      // More than three streams: not probed at all.
      {"four.mp4", false, false, false, false, false, false, 0, 0, 0, 0, 0, 0.0},
      {"empty.avi", false, false, false, false, false, false, 0, 0, 0, 0, 0, 0.0},
      {"random.mpg", false, false, false, false, false, false, 0, 0, 0, 0, 0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    keEngineContext context;
    keMediaInfo info(&context, TestMedia::Path(c.file).c_str());
    EXPECT_EQ(info.IsOpened(), c.opened);
    EXPECT_EQ(info.IsRenderable(), c.renderable);
    EXPECT_EQ(info.IsAudioNotRendered(), c.audioNotRendered);
    EXPECT_EQ(info.IsVideoNotRendered(), c.videoNotRendered);
    EXPECT_EQ(info.HasAudio(), c.audio);
    EXPECT_EQ(info.HasVideo(), c.video);
    EXPECT_EQ(info.GetWidth(), c.width);
    EXPECT_EQ(info.GetHeight(), c.height);
    EXPECT_DOUBLE_EQ(info.GetFrameRate(), c.frameRate);
    EXPECT_EQ(info.GetChannels(), c.channels);
    EXPECT_EQ(info.GetSampleRate(), c.sampleRate);
    EXPECT_NEAR(info.GetDuration(), c.duration, 0.1);
    EXPECT_EQ(info.GetFailureReason().empty(), c.opened);
    info.CloseMediaDet();
    EXPECT_EQ(info.GetWidth(), c.width);  // the answers outlive the detector
  }
}

TEST(keMediaInfo, TruncatedFilesOpenWithWhatTheyStillHold) {
  for (const char* file : {"truncated.avi", "truncated.mp4"}) {
    SCOPED_TRACE(file);
    keEngineContext context;
    keMediaInfo info(&context, TestMedia::Path(file).c_str());
    if (!info.IsOpened()) {
      EXPECT_FALSE(info.GetFailureReason().empty());
      continue;
    }
    EXPECT_TRUE(info.HasVideo());
    EXPECT_LE(info.GetDuration(), 2.1);
  }
}

TEST(keMediaInfo, SavesASnapshotAsJpeg) {
  TempDir dir;
  keEngineContext context;
  keMediaInfo video(&context, TestMedia::Path("av.mp4").c_str());
  ASSERT_TRUE(video.SaveSnapshotJpeg(dir.File("shot.jpg").c_str(), 1.0));
  const std::vector<unsigned char> bytes = ReadWholeFileBytes(dir.File("shot.jpg"));
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  keMediaInfo audio(&context, TestMedia::Path("audio.mp3").c_str());
  EXPECT_FALSE(audio.SaveSnapshotJpeg(dir.File("none.jpg").c_str(), 0.0));
}

// The window shows the rate that the video is encoded at, also where the
// reader measures a rate instead of taking the stated one (above 120 fps).
TEST(keMediaInfo, ShowsTheRateTheReaderEncodesAt) {
  const std::vector<std::pair<const char*, double>> cases = {
      {"av.mp4", 25.0},       {"av.3gp", 15.0}, {"rate50.mp4", 50.0}, {"rate5994.mp4", 60000.0 / 1001},
      {"rate240.mp4", 239.5},  // 239.76 measured, snapped
  };
  for (const auto& [file, rate] : cases) {
    SCOPED_TRACE(file);
    keEngineContext context;
    keMediaInfo info(&context, TestMedia::Path(file).c_str());
    keDirectShowReader reader(&context, TestMedia::Path(file).c_str());
    EXPECT_DOUBLE_EQ(info.GetFrameRate(), rate);
    EXPECT_DOUBLE_EQ(reader.GetVideoSource()->GetFrameRate(), rate);
  }
}

// A file with two audio tracks shows the track that is encoded: the first.
TEST(keMediaInfo, ShowsTheAudioTrackTheReaderEncodes) {
  keEngineContext context;
  const std::string file = TestMedia::Path("twoaudio.mkv");
  keMediaInfo info(&context, file.c_str());
  keDirectShowReader reader(&context, file.c_str());
  EXPECT_EQ(info.GetChannels(), 1);
  EXPECT_EQ(info.GetSampleRate(), 22050);
  EXPECT_NEAR(reader.GetAudioLength(), 2.0, 0.05);
  EXPECT_NEAR(info.GetDuration(), 2.0, 0.05);
}

struct MeasureCase {
  const char* file;
  int32_t firstKind;
  double rate;  // snapped
};

TEST(keFrameRateProbe, MeasuresTheRateByDecoding) {
  const std::vector<MeasureCase> cases = {
      {"av.avi", 1, 25.0},       {"av.3gp", 1, 15.0},
      {"av.flv", 0, 25.0},        // audio first, and the video starts 50 ms late
      {"rate5994.mp4", 1, 59.5},  // 59.94 snapped down
      {"video.avi", 1, 25.0},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keFrameRateProbe probe(&context, TestMedia::Path(c.file).c_str(), 10000, c.firstKind);
    EXPECT_EQ(probe.GetMeasuredFrameRate(), c.rate) << c.file;
  }
  for (const char* file : {"audio.mp3", "empty.avi"}) {
    keEngineContext context;
    keFrameRateProbe probe(&context, TestMedia::Path(file).c_str(), 1000, 0);
    EXPECT_TRUE(std::isnan(probe.GetMeasuredFrameRate())) << file;
  }
}

}  // namespace
