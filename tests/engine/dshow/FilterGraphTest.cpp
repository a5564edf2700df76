// The media graph over generated files: connection, complete delivery with
// stream times, seeking, completion, stop, and the whole-file render test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

#include "GraphTestSupport.h"
#include "dshow/NullRenderer.h"

namespace {

struct StreamsCase {
  const char* file;
  int frames;  // 0: no video stream
  double fps;
  int audioRate;  // 0: no audio stream
  double seconds;
};

double Seconds(int64_t units) { return static_cast<double>(units) / 1e7; }

TEST(FilterGraph, DeliversCompleteStreamsWithTheirTimes) {
  const std::vector<StreamsCase> cases = {
      {"av.avi", 50, 25, 44100, 2},  {"av.mpg", 50, 25, 44100, 2},      {"av.mpeg", 50, 25, 48000, 2},
      {"av.mov", 50, 25, 48000, 2},  {"av.mp4", 50, 25, 44100, 2},      {"av.3gp", 30, 15, 22050, 2},
      {"av.flv", 50, 25, 22050, 2},  {"rate50.mp4", 50, 50, 44100, 1},  {"rate5994.mp4", 60, 60000.0 / 1001, 44100, 1},
      {"video.avi", 50, 25, 0, 2},   {"audio.mp3", 0, 0, 22050, 2},     {"cover.mp3", 0, 0, 44100, 2},
      {"mono8k.wav", 0, 0, 8000, 2}, {"stereo48k.wav", 0, 0, 48000, 2}, {"surround.wav", 0, 0, 32000, 2},
      {"float.wav", 0, 0, 44100, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TestGraph g;
    ASSERT_EQ(g.Open(c.file), S_OK);
    EXPECT_EQ(g.videoConnected, c.frames ? S_OK : MG_E_CANNOT_CONNECT);
    EXPECT_EQ(g.audioConnected, c.audioRate ? S_OK : MG_E_CANNOT_CONNECT);
    g.RunToEnd();

    const auto frames = g.video.Samples();
    EXPECT_EQ(static_cast<int>(frames.size()), c.frames);
    if (c.frames) {
      const MediaType type = g.video.ConnectionMediaType();
      const double period = 1e7 / c.fps;
      EXPECT_LE(Seconds(frames[0].start), 0.06);  // as the file states it
      for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(frames[i].start - frames[0].start), i * period, period / 10) << i;
        EXPECT_GT(frames[i].end, frames[i].start) << i;
        EXPECT_EQ(frames[i].length, static_cast<int32_t>(type.lSampleSize));
        EXPECT_EQ(frames[i].size, frames[i].length);
      }
      EXPECT_EQ(g.video.Starts(), 1);
      EXPECT_EQ(g.video.EndOfStreams(), 1);
    }

    const auto blocks = g.audio.Samples();
    EXPECT_EQ(blocks.empty(), c.audioRate == 0);
    if (c.audioRate) {
      const MediaType type = g.audio.ConnectionMediaType();
      EXPECT_EQ(type.wave.nSamplesPerSec, static_cast<uint32_t>(c.audioRate));
      EXPECT_EQ(type.wave.nChannels, 2);
      int64_t bytes = 0;
      for (size_t i = 0; i < blocks.size(); ++i) {
        bytes += blocks[i].length;
        if (i > 0) {
          EXPECT_EQ(blocks[i].start, blocks[i - 1].end) << i;  // no gaps, no overlaps
        }
      }
      EXPECT_LT(Seconds(blocks.front().start), 0.05);
      EXPECT_NEAR(Seconds(blocks.back().end), c.seconds, 0.07);
      EXPECT_NEAR(static_cast<double>(bytes) / 4 / c.audioRate, c.seconds, 0.07);
      EXPECT_EQ(g.audio.EndOfStreams(), 1);
    }
  }
}

std::vector<keGuid> SubtypesOf(const std::vector<MediaType>& types, const keGuid& major) {
  std::vector<keGuid> subtypes;
  for (const MediaType& type : types)
    if (type.majortype == major) subtypes.push_back(type.subtype);
  return subtypes;
}

struct OfferCase {
  const char* file;
  std::vector<keGuid> video;
  std::vector<int> audioChannels;
};

TEST(FilterGraph, OffersTheFramesOwnLayoutFirstThenConversions) {
  const std::vector<keGuid> fromYuv420 = {MEDIASUBTYPE_IYUV, MEDIASUBTYPE_YV12, MEDIASUBTYPE_YUY2,  MEDIASUBTYPE_UYVY,
                                          MEDIASUBTYPE_YVYU, MEDIASUBTYPE_AYUV, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24};
  const std::vector<OfferCase> cases = {
      {"av.avi", fromYuv420, {2}},
      {"raw_gray.avi", fromYuv420, {}},  // grey is none of the eight: conversions only
      {"raw_bgr24.avi",
       {MEDIASUBTYPE_RGB24, MEDIASUBTYPE_IYUV, MEDIASUBTYPE_YV12, MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY,
        MEDIASUBTYPE_YVYU, MEDIASUBTYPE_AYUV, MEDIASUBTYPE_RGB32},
       {}},
      {"raw_bgra.avi",
       {MEDIASUBTYPE_RGB32, MEDIASUBTYPE_IYUV, MEDIASUBTYPE_YV12, MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY,
        MEDIASUBTYPE_YVYU, MEDIASUBTYPE_AYUV, MEDIASUBTYPE_RGB24},
       {}},
      {"raw_yuyv.mov",
       {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_IYUV, MEDIASUBTYPE_YV12, MEDIASUBTYPE_UYVY, MEDIASUBTYPE_YVYU,
        MEDIASUBTYPE_AYUV, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24},
       {}},
      {"raw_uyvy.mov",
       {MEDIASUBTYPE_UYVY, MEDIASUBTYPE_IYUV, MEDIASUBTYPE_YV12, MEDIASUBTYPE_YUY2, MEDIASUBTYPE_YVYU,
        MEDIASUBTYPE_AYUV, MEDIASUBTYPE_RGB32, MEDIASUBTYPE_RGB24},
       {}},
      {"mono8k.wav", {}, {1, 2}},
      {"stereo48k.wav", {}, {2}},
      {"surround.wav", {}, {6, 2}},
  };
  auto refuse = [](const MediaType&) { return false; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TestGraph g(refuse, refuse);
    ASSERT_EQ(g.Open(c.file), S_OK);
    EXPECT_EQ(g.videoConnected, MG_E_CANNOT_CONNECT);
    EXPECT_EQ(g.audioConnected, MG_E_CANNOT_CONNECT);
    const auto offered = g.video.Offered();
    EXPECT_EQ(SubtypesOf(offered, MEDIATYPE_Video), c.video);
    std::vector<int> channels;
    for (const MediaType& type : offered) {
      if (type.majortype == MEDIATYPE_Audio) {
        EXPECT_EQ(type.formattype, FORMAT_WaveFormatEx);
        EXPECT_EQ(type.wave.wBitsPerSample, 16);
        EXPECT_EQ(type.lSampleSize, 2u * type.wave.nChannels);
        channels.push_back(type.wave.nChannels);
      } else {
        EXPECT_EQ(type.formattype, FORMAT_VideoInfo);
        EXPECT_EQ(type.video.rcSource.right, type.video.bmiHeader.biWidth);
        EXPECT_EQ(type.video.rcSource.bottom, type.video.bmiHeader.biHeight);
      }
    }
    EXPECT_EQ(channels, c.audioChannels);
  }
}

/// 'R' for red, 'B' for blue, '?' otherwise, at column `x` of row `row`
/// counted from the top of the picture, read as `subtype` says.
char ColourAt(const keGuid& subtype, const std::vector<uint8_t>& p, int w, int h, int x, int row) {
  int y = 0, u = 128, v = 128;
  const size_t luma = static_cast<size_t>(w) * h, quarter = luma / 4;
  const size_t chroma = static_cast<size_t>(row / 2) * (w / 2) + x / 2;
  if (subtype == MEDIASUBTYPE_IYUV || subtype == MEDIASUBTYPE_YV12) {
    y = p[static_cast<size_t>(row) * w + x];
    const size_t first = luma + chroma, second = luma + quarter + chroma;
    u = p[subtype == MEDIASUBTYPE_IYUV ? first : second];
    v = p[subtype == MEDIASUBTYPE_IYUV ? second : first];
  } else if (subtype == MEDIASUBTYPE_YUY2 || subtype == MEDIASUBTYPE_UYVY || subtype == MEDIASUBTYPE_YVYU) {
    const uint8_t* pair = &p[static_cast<size_t>(row) * w * 2 + (x / 2) * 4];
    if (subtype == MEDIASUBTYPE_YUY2) y = pair[0], u = pair[1], v = pair[3];
    if (subtype == MEDIASUBTYPE_UYVY) u = pair[0], y = pair[1], v = pair[2];
    if (subtype == MEDIASUBTYPE_YVYU) y = pair[0], v = pair[1], u = pair[3];
  } else if (subtype == MEDIASUBTYPE_AYUV) {
    const uint8_t* pixel = &p[(static_cast<size_t>(row) * w + x) * 4];
    v = pixel[0], u = pixel[1], y = pixel[2];
  } else {
    const int bytes = subtype == MEDIASUBTYPE_RGB32 ? 4 : 3;
    const uint8_t* pixel = &p[(static_cast<size_t>(h - 1 - row) * w + x) * bytes];  // bottom-up
    const int b = pixel[0], r = pixel[2];
    return r > 180 && b < 80 ? 'R' : (b > 180 && r < 80 ? 'B' : '?');
  }
  (void)y;
  return v > 180 && u < 128 ? 'R' : (u > 180 && v < 180 ? 'B' : '?');
}

struct LayoutCase {
  const char* file;
  keGuid subtype;
};

TEST(FilterGraph, DeliversContiguousPicturesInTheAcceptedLayout) {
  const std::vector<LayoutCase> cases = {
      {"raw_bgr24.avi", MEDIASUBTYPE_RGB24}, {"raw_bgra.avi", MEDIASUBTYPE_RGB32}, {"raw_i420.avi", MEDIASUBTYPE_IYUV},
      {"raw_yuyv.mov", MEDIASUBTYPE_YUY2},   {"raw_uyvy.mov", MEDIASUBTYPE_UYVY},  {"raw_i420.avi", MEDIASUBTYPE_YV12},
      {"raw_i420.avi", MEDIASUBTYPE_YVYU},   {"raw_i420.avi", MEDIASUBTYPE_AYUV},  {"raw_i420.avi", MEDIASUBTYPE_RGB24},
      {"raw_yuyv.mov", MEDIASUBTYPE_RGB32},  {"raw_bgr24.avi", MEDIASUBTYPE_IYUV},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " as " + SubtypeName(c.subtype));
    TestGraph g(RecordingRenderer::Subtype(c.subtype), RecordingRenderer::StereoPcm(), true);
    ASSERT_EQ(g.Open(c.file), S_OK);
    ASSERT_EQ(g.videoConnected, S_OK);
    g.RunToEnd();
    const auto frames = g.video.Samples();
    ASSERT_EQ(frames.size(), 25u);
    EXPECT_EQ(frames[0].length, VideoFrameBytes(c.subtype, 64, 48));
    for (int row : {1, 12, 21}) EXPECT_EQ(ColourAt(c.subtype, frames[0].data, 64, 48, 33, row), 'R') << row;
    for (int row : {27, 36, 46}) EXPECT_EQ(ColourAt(c.subtype, frames[0].data, 64, 48, 33, row), 'B') << row;
  }
}

struct OddCase {
  const char* file;
  keGuid subtype;
};

TEST(FilterGraph, DeliversOddPictureSizesWithoutTheLastRowAndColumn) {
  for (const OddCase& c : std::vector<OddCase>{{"odd.avi", MEDIASUBTYPE_IYUV}, {"odd_rgb.avi", MEDIASUBTYPE_RGB24}}) {
    SCOPED_TRACE(c.file);
    TestGraph g;
    ASSERT_EQ(g.Open(c.file), S_OK);
    const MediaType type = g.video.ConnectionMediaType();
    EXPECT_EQ(type.subtype, c.subtype);
    EXPECT_EQ(type.video.bmiHeader.biWidth, 160);
    EXPECT_EQ(type.video.bmiHeader.biHeight, 120);
    g.RunToEnd();
    const auto frames = g.video.Samples();
    ASSERT_EQ(frames.size(), 25u);
    EXPECT_EQ(frames[0].length, VideoFrameBytes(c.subtype, 160, 120));
  }
}

TEST(FilterGraph, SpreadsMonoOverBothChannelsAtFullLevel) {
  auto run = [](RecordingRenderer::Accept accept) {
    TestGraph g(RecordingRenderer::Major(MEDIATYPE_Video), std::move(accept), true);
    EXPECT_EQ(g.Open("mono8k.wav"), S_OK);
    g.RunToEnd();
    std::vector<int16_t> pcm;
    for (const auto& block : g.audio.Samples()) {
      const auto* samples = reinterpret_cast<const int16_t*>(block.data.data());
      pcm.insert(pcm.end(), samples, samples + block.length / 2);
    }
    return pcm;
  };
  const std::vector<int16_t> mono = run(RecordingRenderer::Major(MEDIATYPE_Audio));  // first offer
  const std::vector<int16_t> stereo = run(RecordingRenderer::StereoPcm());
  ASSERT_EQ(mono.size(), 16000u);
  ASSERT_EQ(stereo.size(), 2 * mono.size());
  int16_t peak = 0;
  for (size_t i = 0; i < mono.size(); ++i) {
    ASSERT_EQ(stereo[2 * i], mono[i]) << i;
    ASSERT_EQ(stereo[2 * i + 1], mono[i]) << i;
    peak = std::max<int16_t>(peak, mono[i]);
  }
  EXPECT_GT(peak, 1000);
}

struct SeekCase {
  const char* file;
  double start, stop;
  int frames;
  int64_t audioSamples;  // -1: not exact for this codec
};

TEST(FilterGraph, SeeksToTheStartAndEndsAtTheStop) {
  const std::vector<SeekCase> cases = {
      {"av.avi", 0.52, 1.52, 25, 44100},
      {"av.avi", 0.51, 1.49, 26, 43218},  // straddling frames are cut to the range
      {"av.mp4", 0.52, 1.52, 25, -1},
      {"av.mov", 1.0, -1, 25, -1},  // no stop: to the end of the file
      {"stereo48k.wav", 1.25, 1.75, 0, 24000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " from " + std::to_string(c.start));
    TestGraph g;
    ASSERT_EQ(g.Open(c.file), S_OK);
    const int64_t start = static_cast<int64_t>(c.start * 1e7);
    const int64_t stop = c.stop < 0 ? -1 : static_cast<int64_t>(c.stop * 1e7);
    const int64_t length = (c.stop < 0 ? 2 * 10000000 : stop) - start;
    ASSERT_EQ(g.graph.SetPositions(start, stop), S_OK);
    g.RunToEnd();

    const auto frames = g.video.Samples();
    EXPECT_EQ(static_cast<int>(frames.size()), c.frames);
    if (!frames.empty()) {
      EXPECT_EQ(frames.front().start, 0);
      EXPECT_LE(frames.back().end, length);
      EXPECT_GT(frames.back().end, length - 400000);
    }
    const auto blocks = g.audio.Samples();
    ASSERT_FALSE(blocks.empty());
    int64_t bytes = 0;
    for (const auto& block : blocks) bytes += block.length;
    EXPECT_EQ(blocks.front().start, 0);
    if (c.audioSamples >= 0) {
      EXPECT_EQ(bytes / 4, c.audioSamples);
      EXPECT_EQ(blocks.back().end, length);
    } else {
      EXPECT_NEAR(Seconds(blocks.back().end), Seconds(length), 0.03);
    }
    int64_t position = 0;
    EXPECT_EQ(g.graph.GetCurrentPosition(&position), S_OK);
    EXPECT_NEAR(Seconds(position), Seconds(start + length), 0.03);
  }
}

// Where the first sound is in blocks of 16-bit stereo that follow each other
// without gaps or overlaps (checked), counted in samples from the first.
double FirstSoundSeconds(const std::vector<RecordedSample>& blocks, int rate) {
  int64_t samples = 0;
  int64_t firstSound = -1;
  for (size_t i = 0; i < blocks.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(blocks[i].start, blocks[i - 1].end) << i;
    }
    const auto* values = reinterpret_cast<const int16_t*>(blocks[i].data.data());
    const size_t count = blocks[i].data.size() / 2;
    for (size_t v = 0; v < count && firstSound < 0; ++v)
      if (std::abs(values[v]) >= 64) firstSound = samples + static_cast<int64_t>(v / 2);
    samples += static_cast<int64_t>(count / 2);
  }
  return firstSound < 0 ? -1.0 : static_cast<double>(firstSound) / rate;
}

// With a frame rate the video comes on a grid of that rate: at the source's
// own rate frame for frame, on a coarser grid the frame shown at each slot's
// time, on a finer one every frame in the slots it covers.
TEST(FilterGraph, VideoOnAGridShowsTheFrameOfEachSlotsTime) {
  auto record = [](double gridRate) {
    TestGraph g(RecordingRenderer::Major(MEDIATYPE_Video), RecordingRenderer::StereoPcm(), true);
    EXPECT_EQ(g.Open("av.mp4"), S_OK);
    g.graph.SetVideoFrameRate(gridRate);
    g.RunToEnd();
    return g.video.Samples();
  };
  const auto source = record(0);
  ASSERT_EQ(source.size(), 50u);
  struct GridCase {
    double rate;
    size_t slots;
    /// The source frame that slot k shows (25 fps, frame j at j × 40 ms).
    std::function<size_t(size_t)> frameOf;
  };
  const std::vector<GridCase> cases = {
      {25, 50, [](size_t k) { return k; }},
      {10, 20, [](size_t k) { return static_cast<size_t>(2.5 * k + 1.25); }},
      {50, 100, [](size_t k) { return k / 2; }},
  };
  for (const GridCase& c : cases) {
    SCOPED_TRACE(c.rate);
    const auto slots = record(c.rate);
    ASSERT_EQ(slots.size(), c.slots);
    const double period = 1e7 / c.rate;
    for (size_t k = 0; k < slots.size(); ++k) {
      EXPECT_EQ(slots[k].start, std::llround(k * period)) << k;
      EXPECT_EQ(slots[k].end, std::llround((k + 1) * period)) << k;
      EXPECT_TRUE(slots[k].data == source[c.frameOf(k)].data) << "slot " << k;
    }
  }
}

// Audio that starts 3 s into the video is laid out where it belongs: the
// timeline starts at the first picture, with silence until the sound.
TEST(FilterGraph, AudioThatStartsLateIsPrecededBySilence) {
  TestGraph g(RecordingRenderer::Major(MEDIATYPE_Video), RecordingRenderer::StereoPcm(), true);
  ASSERT_EQ(g.Open("lateaudio.mp4"), S_OK);
  g.RunToEnd();
  const auto blocks = g.audio.Samples();
  ASSERT_FALSE(blocks.empty());
  EXPECT_EQ(blocks.front().start, 0);
  EXPECT_NEAR(FirstSoundSeconds(blocks, 44100), 3.0, 0.03);
  EXPECT_NEAR(Seconds(blocks.back().end), 8.0, 0.05);
}

// Audio whose times run ahead of its samples (2 ms a second) is kept to its
// times: the tone comes where the file's times put it, not 50 ms early.
TEST(FilterGraph, AudioKeepsToItsTimesOverALongFile) {
  TestGraph g(RecordingRenderer::Major(MEDIATYPE_Video), RecordingRenderer::StereoPcm(), true);
  ASSERT_EQ(g.Open("driftaudio.mkv"), S_OK);
  g.graph.SetVideoFrameRate(25);
  g.RunToEnd();
  const auto blocks = g.audio.Samples();
  ASSERT_FALSE(blocks.empty());
  EXPECT_NEAR(FirstSoundSeconds(blocks, 44100), 25.05, 0.02);
  EXPECT_EQ(g.video.Samples().size(), 750u);
}

TEST(FilterGraph, PacedRunDeliversNoSampleBeforeItsTime) {
  TestGraph g;
  ASSERT_EQ(g.Open("av.avi"), S_OK);
  ASSERT_EQ(g.graph.SetPositions(0, 3000000), S_OK);
  EXPECT_TRUE(g.graph.HasReferenceClock());
  ASSERT_EQ(g.graph.Run(), S_OK);
  ASSERT_EQ(g.graph.WaitForCompletion(kRunLimitMs, nullptr), S_OK);
  g.graph.Stop();
  for (const auto* renderer : {&g.video, &g.audio}) {
    const auto samples = renderer->Samples();
    ASSERT_FALSE(samples.empty());
    for (const auto& sample : samples)
      EXPECT_GE(std::chrono::duration_cast<std::chrono::microseconds>(sample.arrival).count(), sample.start / 10);
  }
}

TEST(FilterGraph, ABlockedRendererHoldsBackOnlyItsOwnStream) {
  TestGraph g;
  ASSERT_EQ(g.Open("av.mp4"), S_OK);
  g.video.BlockAtSample(0);
  g.graph.SetReferenceClock(false);
  ASSERT_EQ(g.graph.Run(), S_OK);
  ASSERT_TRUE(g.video.WaitUntilBlocked());
  EXPECT_TRUE(g.audio.WaitForEndOfStream());
  EXPECT_EQ(g.graph.WaitForCompletion(20, nullptr), E_ABORT);  // the video has not ended

  // Stop while the renderer is blocked: a waiter is released by the stop,
  // and the stop itself completes once the renderer returns.
  HRESULT waited = S_OK, stopped = E_FAIL;
  std::thread waiter([&] { waited = g.graph.WaitForCompletion(kePlatform::kInfinite, nullptr); });
  std::thread stopper([&] { stopped = g.graph.Stop(); });
  waiter.join();
  g.video.Unblock();
  stopper.join();
  EXPECT_EQ(waited, MG_E_WRONG_STATE);
  EXPECT_EQ(stopped, S_OK);
  EXPECT_FALSE(g.graph.IsRunning());
  EXPECT_EQ(g.graph.WaitForCompletion(kePlatform::kInfinite, nullptr), MG_E_WRONG_STATE);
}

TEST(FilterGraph, AStreamLeadKeepsTheOtherStreamNearABlockedOne) {
  constexpr int64_t kLead = 5000000;  // half a second
  TestGraph g;
  ASSERT_EQ(g.Open("av.mp4"), S_OK);
  g.graph.SetStreamLead(kLead);
  g.graph.SetReferenceClock(false);
  g.video.BlockAtSample(0);
  ASSERT_EQ(g.graph.Run(), S_OK);
  ASSERT_TRUE(g.video.WaitUntilBlocked());
  const int64_t videoAt = g.video.Samples().front().start;

  // The audio goes as far as the lead lets it (its blocks are a few tens of
  // milliseconds long), and stays there.
  ASSERT_TRUE(g.audio.WaitForSampleFrom(videoAt + kLead - 1000000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  for (const auto& block : g.audio.Samples()) EXPECT_LE(block.start, videoAt + kLead);
  EXPECT_EQ(g.audio.EndOfStreams(), 0);

  // A stop releases the held stream too.
  HRESULT stopped = E_FAIL;
  std::thread stopper([&] { stopped = g.graph.Stop(); });
  g.video.Unblock();
  stopper.join();
  EXPECT_EQ(stopped, S_OK);

  // The next run starts the count again and delivers both streams whole.
  const size_t framesBefore = g.video.Samples().size();
  const int audioEndsBefore = g.audio.EndOfStreams();
  g.RunToEnd();
  EXPECT_EQ(g.video.Samples().size() - framesBefore, 50u);
  EXPECT_NEAR(Seconds(g.audio.Samples().back().end), 2, 0.07);
  EXPECT_EQ(g.audio.EndOfStreams() - audioEndsBefore, 1);
}

TEST(FilterGraph, RefusesSamplesAfterTheRenderersOwnEndOfStream) {
  TestGraph g;
  ASSERT_EQ(g.Open("av.avi"), S_OK);
  g.video.EndAfter(5);
  g.RunToEnd();
  EXPECT_EQ(g.video.Samples().size(), 5u);
  // Its own; the stream's own end follows unless the stop comes first.
  EXPECT_GE(g.video.EndOfStreams(), 1);
  EXPECT_EQ(g.audio.EndOfStreams(), 1);
}

TEST(FilterGraph, CompletesAtOnceWithoutConnectedRenderers) {
  RecordingRenderer idle(RecordingRenderer::Major(MEDIATYPE_Video));
  FilterGraph graph;
  EXPECT_EQ(graph.WaitForCompletion(0, nullptr), MG_E_WRONG_STATE);
  FfmpegSourceFilter* source = nullptr;
  ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path("av.avi"), "Source", &source), S_OK);
  graph.AddFilter(&idle, "Idle");
  ASSERT_EQ(graph.Run(), S_OK);
  EXPECT_EQ(graph.WaitForCompletion(kRunLimitMs, nullptr), S_OK);
  EXPECT_EQ(graph.Stop(), S_OK);
  EXPECT_EQ(graph.Stop(), S_OK);  // a second stop finds the graph stopped
  EXPECT_EQ(idle.Starts(), 0);
  EXPECT_EQ(idle.EndOfStreams(), 0);
}

TEST(FilterGraph, RunsAgainAfterAStop) {
  TestGraph g;
  ASSERT_EQ(g.Open("video.avi"), S_OK);
  g.RunToEnd();
  g.RunToEnd();
  EXPECT_EQ(g.video.Samples().size(), 100u);
  EXPECT_EQ(g.video.Starts(), 2);
  EXPECT_EQ(g.video.EndOfStreams(), 2);
}

TEST(FilterGraph, ConnectsEachStreamToOneRenderer) {
  RecordingRenderer first(RecordingRenderer::Major(MEDIATYPE_Video));
  RecordingRenderer second(RecordingRenderer::Major(MEDIATYPE_Video));
  RecordingRenderer third(RecordingRenderer::Major(MEDIATYPE_Video));
  RecordingRenderer outside(RecordingRenderer::Major(MEDIATYPE_Video));
  FilterGraph graph;
  FfmpegSourceFilter* source = nullptr;
  ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path("four.mp4"), "Source", &source), S_OK);
  ASSERT_EQ(source->StreamCount(), 4u);
  for (auto* renderer : {&first, &second, &third}) graph.AddFilter(renderer, nullptr);

  EXPECT_EQ(graph.RenderStream(source, &outside), MG_E_NOT_IN_GRAPH);
  EXPECT_EQ(graph.RenderStream(source, &first), S_OK);
  EXPECT_EQ(graph.RenderStream(source, &first), MG_E_ALREADY_CONNECTED);
  EXPECT_EQ(graph.RenderStream(source, &second), S_OK);
  EXPECT_EQ(graph.RenderStream(source, &third), MG_E_CANNOT_CONNECT);
  EXPECT_EQ(first.ConnectionMediaType().video.bmiHeader.biWidth, 160);
  EXPECT_EQ(second.ConnectionMediaType().video.bmiHeader.biWidth, 80);
  EXPECT_EQ(source->ConnectedRenderer(0), &first);
  EXPECT_EQ(source->ConnectedRenderer(1), &second);
}

TEST(FilterGraph, AttachedPicturesAreNoVideoStream) {
  TestGraph g;
  ASSERT_EQ(g.Open("cover.mp3"), S_OK);
  EXPECT_EQ(g.source->StreamCount(), 1u);
  EXPECT_EQ(g.videoConnected, MG_E_CANNOT_CONNECT);
  EXPECT_EQ(g.audioConnected, S_OK);
}

TEST(FilterGraph, RemovesEveryFilterAndStopsFirst) {
  TestGraph g;
  ASSERT_EQ(g.Open("av.avi"), S_OK);
  std::vector<std::string> names;
  for (MediaFilter* filter : g.graph.EnumFilters()) names.push_back(filter->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Source", "Video", "Audio"}));

  ASSERT_EQ(g.graph.Run(), S_OK);  // paced: still running while the filters go
  for (auto filters = g.graph.EnumFilters(); !filters.empty(); filters = g.graph.EnumFilters())
    ASSERT_EQ(g.graph.RemoveFilter(filters.front()), S_OK);
  EXPECT_FALSE(g.graph.IsRunning());
  EXPECT_EQ(g.video.Graph(), nullptr);
  EXPECT_FALSE(g.video.IsConnected());
  EXPECT_FALSE(g.audio.IsConnected());
  EXPECT_EQ(g.graph.RemoveFilter(&g.video), MG_E_NOT_IN_GRAPH);
}

TEST(FilterGraph, ARendererDestroyedFirstLeavesItsGraph) {
  FilterGraph graph;
  FfmpegSourceFilter* source = nullptr;
  ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path("av.avi"), "Source", &source), S_OK);
  {
    RecordingRenderer video(RecordingRenderer::Major(MEDIATYPE_Video));
    graph.AddFilter(&video, "Video");
    ASSERT_EQ(graph.RenderStream(source, &video), S_OK);
  }
  EXPECT_EQ(graph.EnumFilters().size(), 1u);
  EXPECT_EQ(source->ConnectedRenderer(0), nullptr);
  graph.SetReferenceClock(false);
  ASSERT_EQ(graph.Run(), S_OK);
  EXPECT_EQ(graph.WaitForCompletion(kRunLimitMs, nullptr), S_OK);
}

TEST(FilterGraph, BrokenFilesFailToOpenOrEndEarly) {
  for (const char* file : {"empty.avi", "random.mpg"}) {
    FilterGraph graph;
    FfmpegSourceFilter* source = nullptr;
    EXPECT_EQ(graph.AddSourceFilter(TestMedia::Path(file), "Source", &source), MG_E_CANNOT_OPEN_FILE) << file;
    EXPECT_EQ(source, nullptr);
    EXPECT_FALSE(graph.LastFailureReason().empty());
    EXPECT_TRUE(graph.EnumFilters().empty());
  }
  for (const char* file : {"truncated.avi", "truncated.mp4"}) {
    SCOPED_TRACE(file);
    TestGraph g;
    ASSERT_EQ(g.Open(file), S_OK);
    g.RunToEnd();
    EXPECT_LT(g.video.Samples().size(), 50u);
    EXPECT_EQ(g.video.EndOfStreams(), g.videoConnected == S_OK ? 1 : 0);
    EXPECT_EQ(g.audio.EndOfStreams(), g.audioConnected == S_OK ? 1 : 0);
  }
}

struct RenderFileCase {
  const char* file;
  HRESULT result;
  size_t filters;  // source and null renderers
};

TEST(FilterGraph, RenderFileTellsWhichKindsCouldNotBeRendered) {
  const std::vector<RenderFileCase> cases = {
      {"av.avi", S_OK, 3},
      {"av.flv", S_OK, 3},
      {"video.avi", S_OK, 2},
      {"cover.mp3", S_OK, 2},
      {"noaudiocodec.avi", VFW_S_AUDIO_NOT_RENDERED, 2},
      {"novideocodec.avi", VFW_S_VIDEO_NOT_RENDERED, 2},
      {"empty.avi", MG_E_CANNOT_OPEN_FILE, 0},
      {"random.mpg", MG_E_CANNOT_OPEN_FILE, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    FilterGraph graph;
    EXPECT_EQ(graph.RenderFile(TestMedia::Path(c.file)), c.result);
    const auto filters = graph.EnumFilters();
    EXPECT_EQ(filters.size(), c.filters);
    if (Failed(c.result)) continue;
    graph.SetReferenceClock(false);
    ASSERT_EQ(graph.Run(), S_OK);
    EXPECT_EQ(graph.WaitForCompletion(kRunLimitMs, nullptr), S_OK);
    graph.Stop();
    for (MediaFilter* filter : filters)
      if (auto* null = dynamic_cast<NullRenderer*>(filter)) {
        EXPECT_GT(null->SampleCount(), 0);
      }
  }
}

}  // namespace
