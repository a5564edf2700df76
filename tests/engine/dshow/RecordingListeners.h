// Listeners for the renderer filters' tests: record every call and release
// each sample at once (or keep it until the test releases it).
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "keAudioSample.h"
#include "keListeners.h"
#include "keVideoSample.h"

struct HandedSample {
  int64_t start = 0;
  int64_t end = 0;
  bool last = false;
  std::vector<uint8_t> data;  // audio bytes, or Y then U then V
};

class RecordingAudioListener : public keAudioListener {
 public:
  void OnFormat(int32_t c, int32_t r) override {
    std::lock_guard<std::mutex> lock(mutex);
    channels = c;
    rate = r;
    ++formats;
  }
  void OnStart() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++starts;
  }
  void OnSample(keAudioSample* sample) override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      HandedSample handed{sample->start, sample->end, sample->last, {}};
      handed.data.assign(sample->data, sample->data + sample->length);
      samples.push_back(std::move(handed));
    }
    sample->Release();
  }
  void OnEndOfStream() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++endOfStreams;
  }

  std::mutex mutex;
  int32_t channels = 0, rate = 0;
  int formats = 0, starts = 0, endOfStreams = 0;
  std::vector<HandedSample> samples;
};

class RecordingVideoListener : public keVideoListener {
 public:
  int32_t Kind() override { return 1; }
  void OnFormat(int32_t w, int32_t h, double fps, int32_t top, int32_t bottom, int32_t left, int32_t right) override {
    std::lock_guard<std::mutex> lock(mutex);
    width = w;
    height = h;
    frameRate = fps;
    crops = {top, bottom, left, right};
    ++formats;
  }
  void OnStart() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++starts;
  }
  void OnSample(keVideoSample* sample) override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      HandedSample handed{sample->start, sample->end, sample->last, {}};
      for (int p = 0; p < 3; ++p)
        handed.data.insert(handed.data.end(), sample->planes[p], sample->planes[p] + sample->sizes[p]);
      samples.push_back(std::move(handed));
    }
    sample->Release();
  }
  void OnEndOfStream() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++endOfStreams;
  }

  std::mutex mutex;
  int32_t width = 0, height = 0;
  double frameRate = 0;
  std::vector<int32_t> crops;
  int formats = 0, starts = 0, endOfStreams = 0;
  std::vector<HandedSample> samples;
};
