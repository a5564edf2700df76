// The source reader over generated files: what it probes, what its filters'
// listeners receive, and how it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "dshow/DirectShowAudioSource.h"
#include "dshow/DirectShowVideoSource.h"
#include "dshow/FilterGraph.h"
#include "PollUntil.h"
#include "RecordingListeners.h"
#include "TestMedia.h"
#include "dshow/keDirectShowReader.h"

namespace {

constexpr int64_t kSecond = 10000000;

/// Puts a listener on each source, then decodes the whole range.
void ListenAndDecode(keDirectShowReader& reader, RecordingAudioListener& audio, RecordingVideoListener& video) {
  reader.GetAudioSource()->AddListener(&audio);
  reader.GetVideoSource()->AddListener(&video);
  reader.Start();
  reader.Stop();
}

int64_t AudioBytes(const RecordingAudioListener& listener) {
  int64_t bytes = 0;
  for (const auto& sample : listener.samples) bytes += static_cast<int64_t>(sample.data.size());
  return bytes;
}

struct ProbeCase {
  const char* file;
  bool audio, video;
  int32_t firstKind;
  double frameRate;
  double end;  // seconds, within 0.1
};

TEST(keDirectShowReader, ProbesStreamsRateAndEnd) {
  const std::vector<ProbeCase> cases = {
      {"av.avi", true, true, 1, 25.0, 2.0},
      {"av.mpg", true, true, 1, 25.0, 2.0},
      {"av.mpeg", true, true, 1, 25.0, 2.0},
      {"av.mov", true, true, 1, 25.0, 2.0},
      {"av.mp4", true, true, 1, 25.0, 2.0},
      {"av.3gp", true, true, 1, 15.0, 2.0},
      {"av.flv", true, true, 0, 25.0, 2.05},
      {"rate50.mp4", true, true, 1, 50.0, 1.0},
      {"rate5994.mp4", true, true, 1, 60000.0 / 1001, 1.0},
      {"four.mp4", true, true, 1, 25.0, 1.0},  // the first video stream's rate: the one encoded
      {"video.avi", false, true, 1, 25.0, 2.0},
      {"audio.mp3", true, false, 0, 25.0, 2.06},
      {"cover.mp3", true, false, 0, 25.0, 2.04},
      {"mono8k.wav", true, false, 0, 25.0, 2.0},
      {"stereo48k.wav", true, false, 0, 25.0, 2.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(c.file).c_str());
    EXPECT_EQ(reader.HasAudio(), c.audio);
    EXPECT_EQ(reader.HasVideo(), c.video);
    EXPECT_EQ(reader.GetFirstKind(), c.firstKind);
    EXPECT_NEAR(reader.GetFrameRate(), c.frameRate, 1e-9);
    EXPECT_FALSE(reader.IsRateMeasured());
    EXPECT_NEAR(reader.GetEndTime(), c.end, 0.1);
    EXPECT_EQ(reader.GetStartTime(), 0.0);
    EXPECT_EQ(reader.GetDuration(), reader.GetEndTime());
    EXPECT_EQ(reader.GetVideoSource()->GetFrameRate(), reader.GetFrameRate());
    EXPECT_TRUE(reader.HasAudioSource());
    EXPECT_TRUE(reader.HasVideoSource());
    EXPECT_EQ(reader.GetFailureReason(), "");
  }
}

TEST(keDirectShowReader, FilesThatAreNotMediaGiveAReasonAndAnEmptyRun) {
  for (const char* file : {"empty.avi", "random.mpg"}) {
    SCOPED_TRACE(file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(file).c_str());
    EXPECT_FALSE(reader.HasAudio());
    EXPECT_FALSE(reader.HasVideo());
    EXPECT_EQ(reader.GetFirstKind(), -1);
    EXPECT_EQ(reader.GetEndTime(), -1.0);
    EXPECT_FALSE(reader.GetFailureReason().empty());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);  // completes at once: nothing is connected
    // Nothing streams, but both streams end, so that no encoder waits.
    EXPECT_EQ(audio.formats + video.formats, 0);
    EXPECT_EQ(audio.endOfStreams, 1);
    EXPECT_EQ(video.endOfStreams, 1);
  }
}

TEST(keDirectShowReader, AStreamWithoutDecoderIsNamedAsTheReason) {
  const std::vector<std::pair<const char*, const char*>> cases = {{"noaudiocodec.avi", "audio"},
                                                                  {"novideocodec.avi", "video"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(c.first).c_str());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);
    EXPECT_NE(reader.GetFailureReason().find(c.second), std::string::npos) << reader.GetFailureReason();
    // The other stream still decodes to its end, and the undecodable one
    // ends without a format.
    EXPECT_EQ(audio.endOfStreams, 1);
    EXPECT_EQ(video.endOfStreams, 1);
    EXPECT_EQ(audio.formats + video.formats, 1);
  }
}

struct DecodeCase {
  const char* file;
  int rate;        // the source's, delivered as 16-bit stereo
  double seconds;  // audio length
  int width, height;
  int frames;  // 0: no video
};

TEST(keDirectShowReader, DecodesEveryFormatIntoBothSources) {
  const std::vector<DecodeCase> cases = {
      {"av.avi", 44100, 2.0, 160, 120, 50},  {"av.mpg", 44100, 2.0, 160, 120, 50},
      {"av.mpeg", 48000, 2.0, 160, 120, 50}, {"av.mov", 48000, 2.0, 160, 120, 50},
      {"av.mp4", 44100, 2.0, 160, 120, 50},  {"av.3gp", 22050, 2.0, 176, 144, 30},
      {"av.flv", 22050, 2.0, 160, 120, 50},  {"audio.mp3", 22050, 2.0, 0, 0, 0},
      {"mono8k.wav", 8000, 2.0, 0, 0, 0},    {"stereo48k.wav", 48000, 2.0, 0, 0, 0},
      {"surround.wav", 32000, 2.0, 0, 0, 0}, {"float.wav", 44100, 2.0, 0, 0, 0},
      {"odd.avi", 0, 0.0, 160, 120, 25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(c.file).c_str());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);
    reader.Stop();  // every content stops the reader too
    EXPECT_EQ(reader.GetFailureReason(), "");
    if (c.rate > 0) {
      EXPECT_EQ(audio.channels, 2);
      EXPECT_EQ(audio.rate, c.rate);
      EXPECT_EQ(audio.endOfStreams, 1);
      // Lossy codecs pad or trim a few milliseconds.
      EXPECT_NEAR(static_cast<double>(AudioBytes(audio)) / (4.0 * c.rate), c.seconds, 0.1);
      ASSERT_FALSE(audio.samples.empty());
      EXPECT_TRUE(audio.samples.back().last);
    } else {
      EXPECT_EQ(audio.formats, 0);
      EXPECT_EQ(audio.endOfStreams, 1);  // ended at once: no encoder waits on it
    }
    if (c.frames > 0) {
      EXPECT_EQ(video.width, c.width);
      EXPECT_EQ(video.height, c.height);
      EXPECT_EQ(video.endOfStreams, 1);
      ASSERT_EQ(static_cast<int>(video.samples.size()), c.frames);  // each once, the last marked
      EXPECT_TRUE(video.samples.back().last);
      EXPECT_EQ(video.samples.front().data.size(), static_cast<size_t>(c.width * c.height * 3 / 2));
    } else {
      EXPECT_EQ(video.formats, 0);
      EXPECT_EQ(video.endOfStreams, 1);
    }
    EXPECT_GE(reader.GetProgressPercent(), 90);  // lengths are stated a little long
  }
}

TEST(keDirectShowReader, TruncatedFilesDecodeWhatTheyHoldAndEnd) {
  for (const char* file : {"truncated.avi", "truncated.mp4"}) {
    SCOPED_TRACE(file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(file).c_str());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);
    // What is readable arrives, and both streams end where the data ends.
    EXPECT_EQ(audio.starts, 1);
    EXPECT_EQ(video.starts, 1);
    EXPECT_EQ(audio.endOfStreams, 1);
    EXPECT_EQ(video.endOfStreams, 1);
    EXPECT_GT(video.samples.size(), 1u);
    EXPECT_LT(video.samples.size(), 51u);
    EXPECT_GT(AudioBytes(audio), 0);
  }
}

struct BlackCase {
  const char* file;
  int audioRate;
};

TEST(keDirectShowReader, ABlackSourceFileReplacesTheVideo) {
  // Video first (the source's own video goes to a null renderer) and audio first.
  const std::vector<BlackCase> cases = {{"av.mp4", 44100}, {"av.flv", 22050}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(c.file).c_str());
    reader.SetBlackSourceFile(TestMedia::Path("av.3gp").c_str());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);
    EXPECT_EQ(video.width, 176);  // the black file's pictures
    EXPECT_EQ(video.height, 144);
    EXPECT_EQ(audio.rate, c.audioRate);
    EXPECT_EQ(audio.endOfStreams, 1);
    EXPECT_EQ(video.endOfStreams, 1);
  }
}

TEST(keDirectShowReader, DeliversOnlyTheRangeCountedFromItsStart) {
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("av.avi").c_str());
  reader.SetStartTime(0.4);  // on frame boundaries at 25 fps
  reader.SetEndTime(1.4);
  EXPECT_EQ(reader.GetAudioSource()->GetStart(), 0.4);
  EXPECT_EQ(reader.GetVideoSource()->GetEnd(), 1.4);
  EXPECT_DOUBLE_EQ(reader.GetDuration(), 1.0);
  RecordingAudioListener audio;
  RecordingVideoListener video;
  ListenAndDecode(reader, audio, video);
  EXPECT_EQ(AudioBytes(audio), 44100 * 4);
  ASSERT_EQ(video.samples.size(), 25u);  // 25 frames, the last one marked
  EXPECT_EQ(video.samples.front().start, 0);
  EXPECT_EQ(video.samples[24].end, kSecond);
  EXPECT_EQ(audio.samples.back().end, kSecond);
  EXPECT_NEAR(reader.GetCurrentPosition(), 1.4 * kSecond, 1);
  EXPECT_EQ(reader.GetProgressPercent(), 100);
}

// What a file declares of its length is no limit: its end is where its
// data end, found before anything is decoded (the check of a start time and
// the progress go by it), and the decode gets there. The declared length
// stays for what the data lack.
TEST(keDirectShowReader, TheEndIsWhereTheDataEnd) {
  struct EndCase {
    const char* file;
    double declared, end;  // within a picture
  };
  const std::vector<EndCase> cases = {
      {"cutoff_mpeg4_mp3.avi", 2.0, 6.04},  // cut off before its index: 150 pictures and a damaged one
      {"sync_joined.mpg", 2.0, 4.0},        // two clips joined byte for byte
      {"sync_joinedlate.ts", 101.9, 4.0},   // the second stamped 100 s on
      {"joined_nosound.mpg", 2.0, 4.0},     // the second without sound
      {"half.mp4", 6.0, 2.88},              // cut off after an index that lists all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    keEngineContext context;
    keDirectShowReader reader(&context, TestMedia::Path(c.file).c_str());
    EXPECT_NEAR(reader.GetDeclaredEnd(), c.declared, 0.05);
    // Until the file has been read through, the end is what it declares.
    EXPECT_EQ(reader.GetEndTime(), reader.GetDeclaredEnd());
    reader.FindDataEnd();
    EXPECT_NEAR(reader.GetEndTime(), c.end, 0.041);
    EXPECT_EQ(reader.GetDuration(), reader.GetEndTime());
    RecordingAudioListener audio;
    RecordingVideoListener video;
    ListenAndDecode(reader, audio, video);
    // Picture and sound end together, where the data end.
    ASSERT_FALSE(video.samples.empty());
    EXPECT_NEAR(static_cast<double>(video.samples.back().end) / kSecond, c.end, 0.041);
    ASSERT_FALSE(audio.samples.empty());
    EXPECT_NEAR(static_cast<double>(audio.samples.back().end) / kSecond, c.end, 0.041);
    EXPECT_NEAR(reader.GetDuration(), c.end, 0.041);
  }
}

// An end time is not cut to the end the source declares (the data may go
// on), nor beyond where the data end.
TEST(keDirectShowReader, AnEndTimeCutsWithinTheData) {
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("cutoff_mpeg4_mp3.avi").c_str());
  reader.FindDataEnd();
  reader.SetEndTime(4.0);
  EXPECT_EQ(reader.GetEndTime(), 4.0);
  EXPECT_EQ(reader.GetVideoSource()->GetEnd(), 4.0);
  reader.SetEndTime(8.0);
  EXPECT_NEAR(reader.GetEndTime(), 6.04, 1e-6);
  EXPECT_EQ(reader.GetAudioSource()->GetEnd(), reader.GetEndTime());
}

TEST(keDirectShowReader, SetEndTimeZeroKeepsTheSourcesEndAndStillPassesIt) {
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("av.avi").c_str());
  reader.GetAudioSource()->SetEnd(7.0);
  reader.GetVideoSource()->SetEnd(7.0);
  reader.SetEndTime(0.0);
  EXPECT_NEAR(reader.GetEndTime(), 2.0, 1e-6);
  EXPECT_EQ(reader.GetAudioSource()->GetEnd(), reader.GetEndTime());
  EXPECT_EQ(reader.GetVideoSource()->GetEnd(), reader.GetEndTime());
}

TEST(keDirectShowReader, AbortBeforeStartEndsBothStreamsAndNothingRuns) {
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("av.avi").c_str());
  RecordingAudioListener audio;
  RecordingVideoListener video;
  reader.GetAudioSource()->AddListener(&audio);
  reader.GetVideoSource()->AddListener(&video);
  reader.Abort();
  EXPECT_EQ(audio.endOfStreams, 1);
  EXPECT_EQ(video.endOfStreams, 1);
  reader.Start();  // an aborted reader decodes nothing
  reader.Stop();
  EXPECT_TRUE(audio.samples.empty());
  EXPECT_TRUE(video.samples.empty());
  EXPECT_EQ(audio.formats + video.formats, 0);
}

// Keeps every video frame until the test lets go, like a slow encoder.
class HoldingVideoListener : public RecordingVideoListener {
 public:
  void OnSample(keVideoSample* sample) override {
    std::lock_guard<std::mutex> lock(mutex);
    held.push_back(sample);
    ++received;
  }
  void ReleaseAll() {
    std::lock_guard<std::mutex> lock(mutex);
    for (keVideoSample* sample : held) sample->Release();
    held.clear();
  }
  std::vector<keVideoSample*> held;
  std::atomic<int> received{0};
};

// How long a stream may take to deliver or to stop before the test fails.
constexpr double kStreamSeconds = 20.0;

TEST(keDirectShowReader, AbortMidRunEndsEachStreamOnce) {
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("av.avi").c_str());
  RecordingAudioListener audio;
  HoldingVideoListener video;
  reader.GetAudioSource()->AddListener(&audio);
  reader.GetVideoSource()->AddListener(&video);
  reader.Start();
  ASSERT_TRUE(PollUntil([&] { return video.received > 0; }, kStreamSeconds)) << "no frame arrived";

  // The streaming thread waits for the first frame's release, which comes
  // only once the abort has stopped the graph.
  std::atomic<bool> stopSeen{false};
  std::thread releaser([&] {
    stopSeen = PollUntil([&] { return reader.GetVideoFilter()->IsStopRequested(); }, kStreamSeconds);
    video.ReleaseAll();  // in any case, so that the abort can end
  });
  reader.Abort();
  releaser.join();
  EXPECT_TRUE(stopSeen) << "the abort never asked the filter to stop";
  reader.Stop();  // the graph is stopped: returns at once
  EXPECT_EQ(video.endOfStreams, 1);
  EXPECT_EQ(audio.endOfStreams, 1);
  // The first frame, and again as the last when it came back before the
  // stop cut the filter's wait short (which of the two comes first is a race
  // of the threads, not a choice of the engine).
  EXPECT_GE(video.received, 1);
  EXPECT_LE(video.received, 2);
  video.ReleaseAll();
}

TEST(keDirectShowReader, GraphStopReturnsWhileAListenerKeepsItsSample) {
  // Deeper than the abort above: the stop itself must not need the release.
  keEngineContext context;
  keDirectShowReader reader(&context, TestMedia::Path("video.avi").c_str());
  HoldingVideoListener video;
  reader.GetVideoSource()->AddListener(&video);
  reader.Start();
  ASSERT_TRUE(PollUntil([&] { return video.received > 0; }, kStreamSeconds)) << "no frame arrived";
  std::atomic<bool> stopped{false};
  std::thread stopper([&] {
    reader.GetVideoFilter()->Graph()->Stop();
    stopped = true;
  });
  const bool stoppedInTime = PollUntil([&] { return stopped.load(); }, 10.0);
  EXPECT_TRUE(stoppedInTime) << "the stop waited for the listener";
  EXPECT_EQ(video.held.size(), 1u);
  video.ReleaseAll();  // lets a stop that waited end, so that the join returns
  stopper.join();
}

}  // namespace
