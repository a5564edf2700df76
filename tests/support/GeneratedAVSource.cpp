#include "GeneratedAVSource.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "keAudioSample.h"
#include "keAudioSampleFactory.h"
#include "keVideoSample.h"
#include "keVideoSampleFactory.h"

namespace {
constexpr int64_t kUnitsPerSecond = 10000000;  // 100-ns units
constexpr int32_t kAudioBlockFrames = 4410;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

GeneratedAVSource::GeneratedAVSource(keEngineContext* context, const GeneratedMedia& media)
    : media_(media), audio_(context), video_(context) {
  video_.SetFrameRate(media.fps);
}

GeneratedAVSource::~GeneratedAVSource() { Abort(); }

int GeneratedAVSource::GetProgressPercent() {
  const double seconds = static_cast<double>(position_.load()) / kUnitsPerSecond;
  return static_cast<int>(seconds * 100.0 / media_.seconds);
}

void GeneratedAVSource::Start() {
  std::lock_guard<std::mutex> lock(joinMutex_);
  if (started_.exchange(true)) return;
  if (videoEnded_.load() && audioEnded_.load()) return;  // stopped before it ran
  if (media_.hasVideo) videoThread_ = std::thread([this] { RunVideo(); });
  else videoEnded_ = true;
  if (media_.hasAudio) audioThread_ = std::thread([this] { RunAudio(); });
  else audioEnded_ = true;
}

bool GeneratedAVSource::WaitReleased(keRefCounted* sample) {
  // Even on abort the sample must come back before its factory goes: the
  // encoders release what they were given whatever happens.
  sample->GetZeroRefEvent().Wait(keINFINITE);
  return !aborted_.load();
}

void GeneratedAVSource::RunVideo() {
  const int32_t w = media_.width;
  const int32_t h = media_.height;
  const int32_t cw = (w + 1) / 2;
  const int32_t ch = (h + 1) / 2;
  std::vector<uint8_t> y(static_cast<size_t>(w) * h), u(static_cast<size_t>(cw) * ch), v(u.size());
  keVideoSampleFactory factory(w, h, keVideoFormatYuv420);
  const int64_t frames = static_cast<int64_t>(std::llround(media_.seconds * media_.fps));

  video_.NotifyFormat(w, h, media_.fps, video_.GetCropTop(), video_.GetCropBottom(), video_.GetCropLeft(),
                      video_.GetCropRight());
  video_.NotifyStart();
  for (int64_t i = 0; i < frames; ++i) {
    if (media_.stallAfterFrames >= 0 && i == media_.stallAfterFrames) {
      while (!aborted_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (aborted_.load()) return;  // Abort ends the stream once the thread is gone
    // A diagonal ramp that moves, and chroma bands: something to encode.
    for (int32_t row = 0; row < h; ++row)
      for (int32_t col = 0; col < w; ++col)
        y[static_cast<size_t>(row) * w + col] = static_cast<uint8_t>(16 + ((row + col + 3 * i) % 220));
    std::fill(u.begin(), u.end(), static_cast<uint8_t>(128 + (i % 32)));
    std::fill(v.begin(), v.end(), static_cast<uint8_t>(128 - (i % 32)));
    uint8_t* planes[4] = {y.data(), u.data(), v.data(), nullptr};
    keVideoSample* sample = factory.GetSample(planes, true);
    sample->start = static_cast<int64_t>(std::llround(i * kUnitsPerSecond / media_.fps));
    sample->end = static_cast<int64_t>(std::llround((i + 1) * kUnitsPerSecond / media_.fps));
    sample->last = i + 1 == frames;
    video_.NotifySample(sample);
    framesDelivered_++;
    position_ = std::max(position_.load(), sample->end);
    if (!WaitReleased(sample)) return;
  }
  videoEnded_ = true;
  video_.NotifyEndOfStream();
}

void GeneratedAVSource::RunAudio() {
  const int64_t total = static_cast<int64_t>(std::llround(media_.seconds * media_.sampleRate));
  std::vector<int16_t> block(static_cast<size_t>(kAudioBlockFrames) * 2);
  keAudioSampleFactory factory(2, media_.sampleRate);

  audio_.NotifyFormat(2, media_.sampleRate);
  audio_.NotifyStart();
  for (int64_t done = 0; done < total;) {
    if (aborted_.load()) return;
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(kAudioBlockFrames, total - done));
    for (int32_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(done + i) / media_.sampleRate;
      const auto value = static_cast<int16_t>(8000.0 * std::sin(2.0 * kPi * 440.0 * t));
      block[2 * i] = value;
      block[2 * i + 1] = value;
    }
    keAudioSample* sample = factory.GetSample(reinterpret_cast<const uint8_t*>(block.data()), n * 4, true);
    sample->start = done * kUnitsPerSecond / media_.sampleRate;
    done += n;
    sample->end = done * kUnitsPerSecond / media_.sampleRate;
    sample->last = done == total;
    audio_.NotifySample(sample);
    audioFramesDelivered_ += n;
    if (!WaitReleased(sample)) return;
  }
  audioEnded_ = true;
  audio_.NotifyEndOfStream();
}

void GeneratedAVSource::JoinAndEnd() {
  std::lock_guard<std::mutex> lock(joinMutex_);
  if (videoThread_.joinable()) videoThread_.join();
  if (audioThread_.joinable()) audioThread_.join();
  // Streams cut short by an abort still end, so that no listener waits.
  if (!videoEnded_.exchange(true)) video_.NotifyEndOfStream();
  if (!audioEnded_.exchange(true)) audio_.NotifyEndOfStream();
}

void GeneratedAVSource::Abort() {
  aborted_ = true;
  JoinAndEnd();
}

void GeneratedAVSource::Stop() {
  stopCalls_++;
  JoinAndEnd();
}
