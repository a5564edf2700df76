// The two encoders together, as a profile runs them: fed from two streaming
// threads through the listener hubs, drained by a real stream manager into
// one output, which independent decoders read back. A refused codec setting
// must fail its stream without holding up the source, the manager or the
// other stream.
#include <gtest/gtest.h>
#include <malloc.h>

#include <dirent.h>

#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "EncodedOggStream.h"
#include "EncoderFeeds.h"
#include "MemoryOutputStream.h"
#include "OggDecoders.h"
#include "orvexa/keAVSeekIndex.h"
#include "ogg/keStreamManager.h"
#include "ogg/keTheoraEncoder.h"
#include "ogg/keVorbisEncoder.h"

namespace {

struct PairCase {
  std::string name;
  int32_t audioBitrate;  // kbit/s, all three managed bitrates
  int32_t audioRate, audioChannels;
  double sourceFps;   // 0: the video source knows no rate
  bool videoStreams;  // false: the video source never starts
  bool audioFails, videoFails;
  std::string reason;
};

TEST(Encoders, AProfilesTwoStreamsReachTheOutputOrFailWithoutHanging) {
  const std::vector<PairCase> cases = {
      {"both encode", 48, 44100, 2, 25, true, false, false, ""},
      {"libvorbis refuses 42 kbit/s at 44100 Hz stereo", 42, 44100, 2, 25, true, true, false,
       "Vorbis encoder refused 2 channels at 44100 Hz"},
      {"the video has no frame rate", 32, 22050, 2, 0, true, false, true, "no frame rate"},
      {"the video never streams", 12, 11025, 1, 25, false, false, false, ""},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keVorbisEncoder audio(&context, " ADSL1");
    keTheoraEncoder video(&context, " ADSL1");
    audio.SetMaxBitrate(c.audioBitrate * 1000);
    audio.SetNominalBitrate(c.audioBitrate * 1000);
    audio.SetMinBitrate(c.audioBitrate * 1000);
    audio.SetSampleRate(c.audioRate);
    audio.SetChannels(c.audioChannels);
    video.SetWidth(160);
    video.SetHeight(128);
    video.SetBitrate(256000);
    MemoryOutputStream out;
    keStreamManager manager;  // destroyed (joined) before the encoders
    manager.AddStream(&audio);
    manager.AddStream(&video);
    manager.AddOutput(&out);
    manager.Start();

    AudioFeed sound(&context, 2, 44100);
    VideoFeed picture(&context, 176, 144, c.sourceFps > 0 ? c.sourceFps : 25);
    sound.hub.AddListener(&audio);
    picture.hub.AddListener(&video);
    std::thread audioThread([&] {
      sound.Begin();
      sound.Play(20);
      sound.End();
    });
    std::thread videoThread([&] {
      picture.hub.NotifyFormat(176, 144, c.sourceFps, 0, 0, 0, 0);
      if (c.videoStreams) {
        picture.hub.NotifyStart();
        picture.Play(50);
      }
      picture.End();
    });
    audioThread.join();
    videoThread.join();
    manager.GetSeekIndex()->WaitClosed();

    EXPECT_EQ(sound.handed, 21) << c.name;
    EXPECT_EQ(picture.handed, c.videoStreams ? 51 : 0) << c.name;
    EXPECT_TRUE(manager.IsFinished()) << c.name;
    EXPECT_EQ(audio.HasFailed(), c.audioFails) << c.name << ": " << audio.GetFailureReason();
    EXPECT_EQ(video.HasFailed(), c.videoFails) << c.name << ": " << video.GetFailureReason();
    EXPECT_EQ(manager.HasFailedStream(), c.audioFails || c.videoFails) << c.name;
    if (!c.reason.empty()) {
      EXPECT_NE(manager.GetFailureReason().find(c.reason), std::string::npos)
          << c.name << ": " << manager.GetFailureReason();
    }
    EXPECT_EQ(out.closeCount, 1) << c.name;

    std::map<int32_t, ParsedOggStream> streams = ParseOggStreams(out.bytes);
    ASSERT_EQ(streams.size(), 2u) << c.name;
    for (auto& entry : streams) ExpectStreamEndsOnce(entry.second, c.name + ", serial " + std::to_string(entry.first));
    if (!c.audioFails) {
      DecodedVorbis decoded = DecodeVorbis(streams[0]);
      EXPECT_TRUE(decoded.headersAccepted) << c.name;
      EXPECT_EQ(decoded.rate, c.audioRate) << c.name;
      EXPECT_EQ(decoded.channels, c.audioChannels) << c.name;
      EXPECT_NEAR(static_cast<double>(decoded.samples), 2.0 * c.audioRate, 0.01 * c.audioRate) << c.name;
    }
    if (!c.videoFails && c.videoStreams) {
      DecodedTheora decoded = DecodeTheora(streams[1]);
      EXPECT_TRUE(decoded.headersAccepted) << c.name;
      EXPECT_EQ(decoded.picWidth, 160u) << c.name;
      EXPECT_EQ(decoded.frames, 51) << c.name;
      EXPECT_EQ(decoded.packetErrors, 0) << c.name;
    }
    if (!c.audioFails && !c.videoFails && c.videoStreams) {
      std::string skipped;
      EXPECT_EQ(FfmpegComplaints(out.bytes, &skipped), "") << c.name;
    }
  }
}

std::set<std::string> ThreadNames() {
  std::set<std::string> names;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] == '.') continue;
      std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
      std::string name;
      if (std::getline(comm, name)) names.insert(name);
    }
    closedir(tasks);
  }
  return names;
}

TEST(Encoders, EachRunsOnANamedThreadJoinedAtTheEndOfItsStream) {
  keEngineContext context;
  keVorbisEncoder audio(&context, nullptr);
  keTheoraEncoder video(&context, nullptr);
  audio.OnFormat(2, 44100);
  video.OnFormat(160, 128, 25, 0, 0, 0, 0);
  audio.OnStart();
  video.OnStart();
  // The threads name themselves before they set up the codec.
  audio.GetSetupCompletedEvent().Wait(keINFINITE);
  video.GetSetupCompletedEvent().Wait(keINFINITE);
  const std::set<std::string> running = ThreadNames();
  EXPECT_EQ(running.count("Vorbis Encoder"), 1u);
  EXPECT_EQ(running.count("Theora Encoder"), 1u);
  audio.OnEndOfStream();
  video.OnEndOfStream();
  const std::set<std::string> after = ThreadNames();
  EXPECT_EQ(after.count("Vorbis Encoder"), 0u) << "joined by OnEndOfStream";
  EXPECT_EQ(after.count("Theora Encoder"), 0u) << "joined by OnEndOfStream";
}

/// Takes and frees an encoder's pages as the stream manager would, on a
/// thread of its own, until the end of the stream.
class PageDrain {
 public:
  explicit PageDrain(keEncoderStream& stream)
      : thread_([&stream] {
          stream.GetSetupCompletedEvent().Wait(keINFINITE);
          for (;;) {
            keOggPage* page = stream.GetPageSource()->TakePage();
            const bool ends = page->IsEndOfStream();
            delete page;
            if (ends) break;
          }
        }) {}
  ~PageDrain() { thread_.join(); }

 private:
  std::thread thread_;
};

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
/// Bytes allocated on the heap, large blocks (mapped on their own) included.
size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}
#endif

TEST(Encoders, MemoryStaysFlatOverALongEncode) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers' allocators do not report through mallinfo2";
#else
  keEngineContext context;
  keVorbisEncoder audio(&context, nullptr);
  keTheoraEncoder video(&context, nullptr);
  audio.SetSampleRate(22050);  // resampled, so the resampler's buffer is used
  video.SetWidth(96);          // scaled
  video.SetHeight(80);
  PageDrain audioPages(audio), videoPages(video);
  AudioFeed sound(&context, 2, 44100);
  VideoFeed picture(&context, 112, 96, 25);
  sound.hub.AddListener(&audio);
  picture.hub.AddListener(&video);
  sound.Begin();
  picture.Begin();
  // 90 s of media; the first 10 s warm every buffer up.
  sound.Play(100, -1, 0, false);
  picture.Play(250, false);
  const size_t warm = HeapInUse();
  for (int i = 0; i < 8; ++i) {
    sound.Play(100, -1, 0, false);
    picture.Play(250, false);
  }
  const size_t later = HeapInUse();
  sound.Play(0, -1, 0, true);
  picture.Play(0, true);
  sound.End();
  picture.End();
  // Pages waiting for the drain threads account for a few kilobytes.
  EXPECT_LT(later, warm + 512 * 1024) << "grew from " << warm << " to " << later << " bytes";
#endif
}

}  // namespace
