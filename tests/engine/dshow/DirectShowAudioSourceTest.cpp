// The audio renderer filter with hand-made media samples and in a graph.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "dshow/DirectShowAudioSource.h"
#include "dshow/FilterGraph.h"
#include "dshow/FfmpegSourceFilter.h"
#include "RecordingListeners.h"
#include "TestMedia.h"

namespace {

constexpr int64_t kSecond = 10000000;

MediaType WaveType(int channels, int bits, int rate) {
  MediaType type = MakePcmAudioType(channels, rate);
  type.wave.wBitsPerSample = static_cast<uint16_t>(bits);
  type.wave.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
  type.lSampleSize = type.wave.nBlockAlign;
  return type;
}

/// A block of `bytes` bytes, each its index, from `start` to `end`.
MediaSample Block(int32_t bytes, int64_t start, int64_t end) {
  MediaSample sample(bytes);
  for (int32_t i = 0; i < bytes; ++i) sample.Data()[i] = static_cast<uint8_t>(i);
  sample.SetActualDataLength(bytes);
  sample.SetTime(start, end);
  return sample;
}

struct TypeCase {
  const char* name;
  MediaType type;
  HRESULT result;
};

TEST(DirectShowAudioSource, AcceptsOnly16BitStereoPcm) {
  MediaType video = MakeVideoType(MEDIASUBTYPE_IYUV, 16, 16, 0);
  MediaType wrongFormat = WaveType(2, 16, 44100);
  wrongFormat.formattype = FORMAT_VideoInfo;
  MediaType wrongSubtype = WaveType(2, 16, 44100);
  wrongSubtype.subtype = MEDIASUBTYPE_YUY2;
  const std::vector<TypeCase> cases = {
      {"16-bit stereo", WaveType(2, 16, 44100), S_OK},  {"32-bit float stereo", WaveType(2, 32, 44100), S_FALSE},
      {"16-bit mono", WaveType(1, 16, 22050), S_FALSE}, {"video", video, S_FALSE},
      {"not a wave format", wrongFormat, S_FALSE},      {"not PCM", wrongSubtype, S_FALSE},
  };
  for (const auto& c : cases) {
    DirectShowAudioSource filter(nullptr);
    EXPECT_EQ(filter.CheckMediaType(c.type), c.result) << c.name;
  }

  keEngineContext context;
  DirectShowAudioSource filter(&context);
  RecordingAudioListener listener;
  filter.AddListener(&listener);
  ASSERT_EQ(filter.CheckMediaType(WaveType(2, 16, 48000)), S_OK);
  filter.OnStartStreaming();
  EXPECT_EQ(listener.channels, 2);
  EXPECT_EQ(listener.rate, 48000);
  EXPECT_EQ(listener.starts, 1);
  EXPECT_EQ(filter.GetScale(), 1.0);
}

struct RangeCase {
  double start;  // seconds
  double end;
  bool handed;
};

TEST(DirectShowAudioSource, RangeCheckDropsBlocksOutsideTheRangeAndEndsOnce) {
  keEngineContext context;
  DirectShowAudioSource filter(&context);
  RecordingAudioListener listener;
  filter.AddListener(&listener);
  ASSERT_EQ(filter.CheckMediaType(WaveType(2, 16, 44100)), S_OK);
  filter.SetRangeCheck(true);
  filter.SetStart(10.0);
  filter.SetEnd(20.0);

  const std::vector<RangeCase> blocks = {
      {9.99, 10.01, false}, {10.0, 10.5, true},  {19.99, 20.5, true},  // only the start counts
      {20.01, 20.1, false},                                            // past the end: dropped, and the stream ends
      {20.2, 20.3, false},  {15.0, 15.1, false},                       // after the end nothing is handed on
  };
  for (const auto& b : blocks) {
    MediaSample sample = Block(16, static_cast<int64_t>(b.start * kSecond), static_cast<int64_t>(b.end * kSecond));
    EXPECT_EQ(filter.DoRenderSample(&sample), S_OK);
  }
  filter.EndOfStream();  // the stream's own end, later
  filter.EndOfStream();  // and an abort

  ASSERT_EQ(listener.samples.size(), 3u);
  EXPECT_EQ(listener.samples[0].start, 10 * kSecond);
  EXPECT_EQ(listener.samples[1].start, static_cast<int64_t>(19.99 * kSecond));
  EXPECT_FALSE(listener.samples[1].last);
  // The final notice: the last block's times, the last flag, no data.
  EXPECT_TRUE(listener.samples[2].last);
  EXPECT_TRUE(listener.samples[2].data.empty());
  EXPECT_EQ(listener.samples[2].end, static_cast<int64_t>(20.5 * kSecond));
  EXPECT_EQ(listener.endOfStreams, 1);
  // Every dropped block is recorded, the ones after the end too.
  EXPECT_EQ(filter.GetLastSampleTime(), static_cast<int64_t>(20.2 * kSecond));
}

TEST(DirectShowAudioSource, EndBeforeAnyBlockSendsOnlyTheEndOfStream) {
  DirectShowAudioSource filter(nullptr);
  RecordingAudioListener listener;
  filter.AddListener(&listener);
  ASSERT_EQ(filter.CheckMediaType(WaveType(2, 16, 44100)), S_OK);
  MediaSample empty(16);  // no data: ignored
  empty.SetTime(0, 1);
  EXPECT_EQ(filter.DoRenderSample(&empty), S_OK);
  filter.EndOfStream();
  EXPECT_TRUE(listener.samples.empty());
  EXPECT_EQ(listener.endOfStreams, 1);
}

TEST(DirectShowAudioSource, CopiesEachBlockAndWaitsUntilEveryListenerReleasedIt) {
  keEngineContext context;
  DirectShowAudioSource filter(&context);
  ASSERT_EQ(filter.CheckMediaType(WaveType(2, 16, 44100)), S_OK);
  MediaSample block = Block(64, 0, 100);
  EXPECT_EQ(filter.DoRenderSample(&block), S_OK);  // no listener: no wait

  // A listener that lets go on another thread: the filter returns only after.
  struct LateListener : RecordingAudioListener {
    void OnSample(keAudioSample* sample) override {
      worker = std::thread([this, sample] {
        released = true;
        copy.assign(sample->data, sample->data + sample->length);
        sample->Release();
      });
    }
    std::thread worker;
    std::atomic<bool> released{false};
    std::vector<uint8_t> copy;
  } late;
  RecordingAudioListener quick;
  filter.AddListener(&quick);
  filter.AddListener(&late);
  MediaSample second = Block(32, 100, 200);
  EXPECT_EQ(filter.DoRenderSample(&second), S_OK);
  EXPECT_TRUE(late.released);
  late.worker.join();
  ASSERT_EQ(late.copy.size(), 32u);
  std::memset(second.Data(), 0xEE, 32);  // the decoder reuses its buffer
  EXPECT_EQ(late.copy[5], 5);
  EXPECT_EQ(quick.samples.at(0).data[31], 31);
}

TEST(DirectShowAudioSource, ReceivesTheWholeStreamOfAFileOnce) {
  keEngineContext context;
  DirectShowAudioSource filter(&context);
  RecordingAudioListener listener;
  filter.AddListener(&listener);
  FilterGraph graph;
  FfmpegSourceFilter* source = nullptr;
  ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path("av.avi"), "Source", &source), S_OK);
  graph.AddFilter(&filter, "Audio Source");
  ASSERT_EQ(graph.RenderStream(source, &filter), S_OK);
  graph.SetReferenceClock(false);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_EQ(graph.WaitForCompletion(120000, nullptr), S_OK);
  graph.Stop();
  filter.EndOfStream();  // an abort after the end changes nothing

  EXPECT_EQ(listener.formats, 1);
  EXPECT_EQ(listener.channels, 2);
  EXPECT_EQ(listener.rate, 44100);
  int64_t bytes = 0;
  for (const auto& sample : listener.samples) bytes += static_cast<int64_t>(sample.data.size());
  EXPECT_EQ(bytes, 2 * 44100 * 4);
  ASSERT_FALSE(listener.samples.empty());
  EXPECT_TRUE(listener.samples.back().last);
  EXPECT_EQ(listener.samples.back().end, 2 * kSecond);
  EXPECT_EQ(listener.endOfStreams, 1);
  graph.RemoveFilter(&filter);
}

}  // namespace
