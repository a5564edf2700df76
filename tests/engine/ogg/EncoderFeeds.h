// Test stand-ins for the renderer filters: generated audio blocks and planar
// YUV 4:2:0 frames handed to a hub's listeners through one reused sample,
// waiting after each hand-off until every listener has released it, as the
// filters do.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "keAudioSample.h"
#include "keAudioSampleFactory.h"
#include "keAudioSource.h"
#include "keEvent.h"
#include "keVideoSample.h"
#include "keVideoSampleFactory.h"
#include "keVideoSource.h"

/// `ms` milliseconds of a 440 Hz tone, interleaved 16-bit, starting at
/// `firstFrame`.
inline std::vector<uint8_t> Tone(int32_t channels, int32_t rate, int32_t ms, int64_t firstFrame) {
  const int32_t frames = rate * ms / 1000;
  std::vector<uint8_t> bytes(static_cast<size_t>(frames) * channels * 2);
  for (int32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(firstFrame + i) / rate;
    const auto v = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * t));
    for (int32_t c = 0; c < channels; ++c) {
      bytes[(static_cast<size_t>(i) * channels + c) * 2] = static_cast<uint8_t>(v & 0xFF);
      bytes[(static_cast<size_t>(i) * channels + c) * 2 + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
  }
  return bytes;
}

class AudioFeed {
 public:
  AudioFeed(keEngineContext* context, int32_t channels, int32_t rate)
      : hub(context), factory(channels, rate), channels_(channels), rate_(rate) {}

  void Begin() {
    hub.NotifyFormat(channels_, rate_);
    hub.NotifyStart();
  }
  /// `blocks` blocks of 100 ms; after block `gapAfter` the time stamps jump
  /// ahead by `gapMs`. With `markLast` an empty block flagged last follows.
  void Play(int blocks, int gapAfter = -1, int64_t gapMs = 0, bool markLast = true) {
    for (int b = 0; b < blocks; ++b) {
      std::vector<uint8_t> pcm = Tone(channels_, rate_, 100, played_ * int64_t(rate_) / 10);
      Hand(pcm.data(), static_cast<int32_t>(pcm.size()), startMs_, startMs_ + 100, false);
      startMs_ += 100;
      ++played_;
      if (b == gapAfter) startMs_ += gapMs;
    }
    if (markLast) Hand(nullptr, 0, startMs_, startMs_, true);
  }
  void End() { hub.NotifyEndOfStream(); }

  keAvSourceBase hub;
  keAudioSampleFactory factory;
  int handed = 0;

 private:
  void Hand(const uint8_t* bytes, int32_t length, int64_t startMs, int64_t endMs, bool last) {
    keAudioSample* sample = factory.GetSample(bytes, length, true);
    sample->start = startMs * 10000;
    sample->end = endMs * 10000;
    sample->last = last;
    hub.NotifySample(sample);
    sample->GetZeroRefEvent().Wait(keINFINITE);
    EXPECT_EQ(sample->GetRefCount(), 0u);
    ++handed;
  }
  int32_t channels_;
  int32_t rate_;
  int64_t startMs_ = 0;
  int64_t played_ = 0;
};

/// A width × height planar 4:2:0 picture: a luma ramp that moves with
/// `index` inside `border` pixels of bright luma on every side, grey chroma.
struct GeneratedFrame {
  GeneratedFrame(int32_t width, int32_t height, int index, int32_t border = 0)
      : y(static_cast<size_t>(width) * height),
        u(static_cast<size_t>(width) * height / 4, 128),
        v(static_cast<size_t>(width) * height / 4, 128) {
    for (int32_t row = 0; row < height; ++row)
      for (int32_t col = 0; col < width; ++col) {
        const bool inBorder = row < border || row >= height - border || col < border || col >= width - border;
        y[static_cast<size_t>(row) * width + col] =
            inBorder ? 235 : static_cast<uint8_t>(40 + (col + row + 3 * index) % 60);
      }
  }
  std::vector<uint8_t> y, u, v;
};

class VideoFeed {
 public:
  VideoFeed(keEngineContext* context, int32_t width, int32_t height, double fps, int32_t border = 0)
      : hub(context),
        factory(width, height, keVideoFormatYuv420),
        width_(width),
        height_(height),
        fps_(fps),
        border_(border) {}

  void Begin(int32_t top = 0, int32_t bottom = 0, int32_t left = 0, int32_t right = 0) {
    hub.NotifyFormat(width_, height_, fps_, top, bottom, left, right);
    hub.NotifyStart();
  }
  /// `frames` frames at the feed's rate; with `markLast` the last one is
  /// handed once more flagged last, as the video filter does at the end.
  void Play(int frames, bool markLast = true) {
    for (int f = 0; f < frames; ++f) {
      GeneratedFrame frame(width_, height_, played_, border_);
      Hand(frame, Stamp(played_), Stamp(played_ + 1), false);
      ++played_;
    }
    if (markLast && played_ > 0) {
      GeneratedFrame frame(width_, height_, played_ - 1, border_);
      Hand(frame, Stamp(played_ - 1), Stamp(played_), true);
    }
  }
  void End() { hub.NotifyEndOfStream(); }

  /// Start times (100 ns) of every frame handed, in order.
  std::vector<int64_t> starts;
  std::vector<bool> lasts;
  keVideoSourceBase hub;
  keVideoSampleFactory factory;
  int handed = 0;

 private:
  int64_t Stamp(int64_t index) const { return static_cast<int64_t>(std::llround(index * 1e7 / fps_)); }
  void Hand(GeneratedFrame& frame, int64_t start, int64_t end, bool last) {
    uint8_t* planes[4] = {frame.y.data(), frame.u.data(), frame.v.data(), nullptr};
    keVideoSample* sample = factory.GetSample(planes, true);
    sample->start = start;
    sample->end = end;
    sample->last = last;
    starts.push_back(start);
    lasts.push_back(last);
    hub.NotifySample(sample);
    sample->GetZeroRefEvent().Wait(keINFINITE);
    EXPECT_EQ(sample->GetRefCount(), 0u);
    ++handed;
  }
  int32_t width_;
  int32_t height_;
  double fps_;
  int32_t border_;
  int played_ = 0;
};
