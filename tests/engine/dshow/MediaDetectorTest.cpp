// The media detector's answers for generated files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "dshow/MediaDetector.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace {

struct StreamAnswer {
  keGuid major;
  double length;
  // video
  keGuid subtype = GUID_NULL;
  int width = 0, height = 0;
  double fps = 0;
  // audio
  int channels = 0, rate = 0;
};

StreamAnswer Video(double length, keGuid subtype, int width, int height, double fps) {
  StreamAnswer answer{MEDIATYPE_Video, length};
  answer.subtype = subtype;
  answer.width = width;
  answer.height = height;
  answer.fps = fps;
  return answer;
}

StreamAnswer Audio(double length, int channels, int rate) {
  StreamAnswer answer{MEDIATYPE_Audio, length};
  answer.channels = channels;
  answer.rate = rate;
  return answer;
}

struct DetectorCase {
  const char* file;
  std::vector<StreamAnswer> streams;
};

// Lengths are where the streams end on the file's timeline, which starts at
// its first picture: the MPEG-2 file's video starts 10 ms after its audio,
// the FLV file's 50 ms after.
TEST(MediaDetector, AnswersPerStream) {
  const std::vector<DetectorCase> cases = {
      {"av.avi", {Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(2, 2, 44100)}},
      {"av.mpg", {Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(2.01, 2, 44100)}},
      {"av.mpeg", {Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(2.006, 2, 48000)}},
      {"av.mov", {Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(2, 2, 48000)}},
      {"av.mp4", {Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(2, 2, 44100)}},
      {"av.3gp", {Video(2, MEDIASUBTYPE_IYUV, 176, 144, 15), Audio(2, 1, 22050)}},
      {"av.flv", {Audio(2, 2, 22050), Video(2, MEDIASUBTYPE_IYUV, 160, 120, 25)}},
      {"rate5994.mp4", {Video(1.001, MEDIASUBTYPE_IYUV, 160, 120, 60000.0 / 1001), Audio(1, 1, 44100)}},
      {"four.mp4",
       {Video(1, MEDIASUBTYPE_IYUV, 160, 120, 25), Video(1, MEDIASUBTYPE_IYUV, 80, 60, 10), Audio(1, 1, 44100),
        Audio(1, 1, 44100)}},
      {"cover.mp3", {Audio(2.04, 2, 44100)}},  // the cover is no stream
      {"audio.mp3", {Audio(2.06, 1, 22050)}},
      {"mono8k.wav", {Audio(2, 1, 8000)}},
      {"surround.wav", {Audio(2, 6, 32000)}},
      {"float.wav", {Audio(2, 2, 44100)}},  // described as the 16-bit PCM it is delivered as
      {"odd.avi", {Video(1, MEDIASUBTYPE_IYUV, 160, 120, 25)}},
      {"raw_bgr24.avi", {Video(1, MEDIASUBTYPE_RGB24, 64, 48, 25)}},
      {"raw_yuyv.mov", {Video(1, MEDIASUBTYPE_YUY2, 64, 48, 25)}},
      {"truncated.avi", {Video(0.8, MEDIASUBTYPE_IYUV, 160, 120, 25), Audio(0.8, 2, 44100)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    MediaDetector detector;
    ASSERT_EQ(detector.SetFilename(TestMedia::Path(c.file)), S_OK);
    int32_t count = -1;
    ASSERT_EQ(detector.GetOutputStreams(&count), S_OK);
    ASSERT_EQ(count, static_cast<int32_t>(c.streams.size()));
    for (int32_t i = 0; i < count; ++i) {
      SCOPED_TRACE(i);
      const StreamAnswer& want = c.streams[i];
      ASSERT_EQ(detector.SetCurrentStream(i), S_OK);
      keGuid major = GUID_NULL;
      EXPECT_EQ(detector.GetStreamType(&major), S_OK);
      EXPECT_EQ(major, want.major);
      double length = 0;
      EXPECT_EQ(detector.GetStreamLength(&length), S_OK);
      EXPECT_NEAR(length, want.length, 0.01);
      MediaType type;
      EXPECT_EQ(detector.GetStreamMediaType(&type), S_OK);
      EXPECT_EQ(type.majortype, want.major);
      double fps = -1;
      if (want.major == MEDIATYPE_Video) {
        EXPECT_EQ(type.subtype, want.subtype) << SubtypeName(type.subtype);
        EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
        EXPECT_EQ(type.video.rcSource.right, want.width);
        EXPECT_EQ(type.video.rcSource.bottom, want.height);
        EXPECT_EQ(type.video.bmiHeader.biWidth, want.width);
        EXPECT_EQ(type.video.bmiHeader.biHeight, want.height);
        EXPECT_EQ(detector.GetFrameRate(&fps), S_OK);
        EXPECT_NEAR(fps, want.fps, 1e-9);
      } else {
        EXPECT_EQ(type.subtype, MEDIASUBTYPE_PCM);
        EXPECT_EQ(type.formattype, FORMAT_WaveFormatEx);
        EXPECT_EQ(type.wave.nChannels, want.channels);
        EXPECT_EQ(type.wave.nSamplesPerSec, static_cast<uint32_t>(want.rate));
        EXPECT_EQ(type.wave.wBitsPerSample, 16);
        EXPECT_EQ(type.wave.nBlockAlign, 2 * want.channels);
        EXPECT_EQ(type.lSampleSize, 2u * want.channels);
        EXPECT_EQ(detector.GetFrameRate(&fps), E_FAIL);
        EXPECT_EQ(fps, 0.0);
      }
    }
    EXPECT_EQ(detector.SetCurrentStream(count), MG_E_NO_STREAM);
  }
}

TEST(MediaDetector, FailsOnFilesThatAreNotMedia) {
  for (const char* file : {"empty.avi", "random.mpg"}) {
    MediaDetector detector;
    EXPECT_EQ(detector.SetFilename(TestMedia::Path(file)), MG_E_CANNOT_OPEN_FILE) << file;
    EXPECT_FALSE(detector.FailureReason().empty());
    int32_t count = -1;
    EXPECT_EQ(detector.GetOutputStreams(&count), MG_E_WRONG_STATE);
    EXPECT_EQ(count, 0);
    keGuid major = MEDIATYPE_Audio;
    EXPECT_EQ(detector.GetStreamType(&major), MG_E_WRONG_STATE);
    EXPECT_EQ(major, GUID_NULL);
  }
  MediaDetector missing;
  EXPECT_EQ(missing.SetFilename("/nonexistent/file.avi"), MG_E_CANNOT_OPEN_FILE);
}

}  // namespace

// A source is a local file, whatever its name looks like: never a protocol,
// never a pipe the probe would wait on for ever.
TEST(MediaDetector, OpensOnlyLocalFilesByTheirOwnNames) {
  TempDir dir;
  char previous[4096] = {};
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.Path().c_str()), 0);
  const std::vector<unsigned char> video = ReadWholeFileBytes(TestMedia::Path("av.mp4"));
  const std::vector<unsigned char> sound = ReadWholeFileBytes(TestMedia::Path("audio.mp3"));
  auto write = [](const char* name, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(name, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  };
  write("clip:final.mp4", video);
  write("file:x.mp4", video);
  write("x.mp4", sound);
  mkfifo("pipe.mp4", 0600);
  for (const char* name : {"clip:final.mp4", "file:x.mp4"}) {
    SCOPED_TRACE(name);
    MediaDetector detector;
    EXPECT_EQ(detector.SetFilename(name), S_OK) << detector.FailureReason();
    int32_t streams = 0;
    detector.GetOutputStreams(&streams);
    EXPECT_EQ(streams, 2) << "another file was opened";
  }
  MediaDetector pipe;
  EXPECT_EQ(pipe.SetFilename("pipe.mp4"), MG_E_CANNOT_OPEN_FILE);
  EXPECT_NE(pipe.FailureReason().find("named pipe"), std::string::npos) << pipe.FailureReason();
  ASSERT_EQ(chdir(previous), 0);
}
