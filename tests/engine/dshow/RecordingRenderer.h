// A renderer for graph tests: records what it was offered, what it received
// and when the stream ended; can hold the stream thread in DoRenderSample
// until the test lets it go.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "dshow/BaseRenderer.h"
#include "dshow/MediaGuids.h"

struct RecordedSample {
  int64_t start = 0;
  int64_t end = 0;
  int32_t length = 0;
  int32_t size = 0;
  std::vector<uint8_t> data;
  /// Wall time since the recorder's clock origin when the sample arrived.
  std::chrono::steady_clock::duration arrival{};
};

class RecordingRenderer : public BaseRenderer {
 public:
  using Accept = std::function<bool(const MediaType&)>;

  explicit RecordingRenderer(Accept accept, bool keepData = false)
      : BaseRenderer("RecordingRenderer"), accept_(std::move(accept)), keepData_(keepData) {}

  static Accept Major(const keGuid& major) {
    return [major](const MediaType& type) { return type.majortype == major; };
  }
  static Accept Subtype(const keGuid& subtype) {
    return [subtype](const MediaType& type) { return type.subtype == subtype; };
  }
  /// What the engine's audio renderer takes: 16-bit stereo PCM.
  static Accept StereoPcm() {
    return [](const MediaType& type) {
      return type.majortype == MEDIATYPE_Audio && type.subtype == MEDIASUBTYPE_PCM &&
             type.formattype == FORMAT_WaveFormatEx && type.lSampleSize == 4;
    };
  }

  HRESULT CheckMediaType(const MediaType& type) override {
    std::lock_guard<std::mutex> lock(mutex_);
    offered_.push_back(type);
    return accept_(type) ? S_OK : S_FALSE;
  }

  HRESULT OnStartStreaming() override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++starts_;
    origin_ = std::chrono::steady_clock::now();
    return S_OK;
  }

  HRESULT DoRenderSample(MediaSample* sample) override {
    RecordedSample record;
    sample->GetTime(&record.start, &record.end);
    record.length = sample->GetActualDataLength();
    record.size = sample->GetSize();
    if (keepData_) {
      uint8_t* data = nullptr;
      sample->GetPointer(&data);
      record.data.assign(data, data + record.length);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    record.arrival = std::chrono::steady_clock::now() - origin_;
    samples_.push_back(std::move(record));
    changed_.notify_all();
    if (blockAt_ >= 0 && static_cast<int>(samples_.size()) > blockAt_) {
      blocked_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return !blockRequested_; });
      blocked_ = false;
    }
    const bool endNow = endAfter_ >= 0 && static_cast<int>(samples_.size()) == endAfter_;
    lock.unlock();
    if (endNow) EndOfStream();
    return S_OK;
  }

  HRESULT EndOfStream() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++endOfStreams_;
    }
    changed_.notify_all();
    return BaseRenderer::EndOfStream();
  }

  /// Holds the stream thread in the DoRenderSample of sample `index` (0-based)
  /// until Unblock.
  void BlockAtSample(int index) {
    std::lock_guard<std::mutex> lock(mutex_);
    blockAt_ = index;
    blockRequested_ = true;
  }
  void Unblock() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      blockRequested_ = false;
    }
    changed_.notify_all();
  }
  /// Calls its own EndOfStream after receiving `count` samples.
  void EndAfter(int count) { endAfter_ = count; }

  bool WaitUntilBlocked(std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return blocked_; });
  }
  /// Waits for a sample that starts at or after `start`.
  bool WaitForSampleFrom(int64_t start, std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return !samples_.empty() && samples_.back().start >= start; });
  }
  bool WaitForEndOfStream(std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return endOfStreams_ > 0; });
  }

  std::vector<MediaType> Offered() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return offered_;
  }
  std::vector<RecordedSample> Samples() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_;
  }
  int Starts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return starts_;
  }
  int EndOfStreams() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return endOfStreams_;
  }

 private:
  Accept accept_;
  bool keepData_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<MediaType> offered_;
  std::vector<RecordedSample> samples_;
  std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
  int starts_ = 0;
  int endOfStreams_ = 0;
  int blockAt_ = -1;
  bool blockRequested_ = false;
  bool blocked_ = false;
  int endAfter_ = -1;
};
