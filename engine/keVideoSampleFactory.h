// Hands out the one video sample of a renderer filter (see
// keAudioSampleFactory.h for the reuse rule).
#pragma once

#include <cstdint>
#include <deque>

#include "keMutex.h"
#include "keVideoSample.h"

class keVideoSampleFactory {
 public:
  keVideoSampleFactory(int32_t width, int32_t height, int32_t formatCode);
  ~keVideoSampleFactory();
  keVideoSampleFactory(const keVideoSampleFactory&) = delete;
  keVideoSampleFactory& operator=(const keVideoSampleFactory&) = delete;

  /// Loads the picture's planes into the current sample and returns it;
  /// null when the sample has no memory for them.
  keVideoSample* GetSample(uint8_t* const planes[4], bool copy);
  void RecycleSample(keVideoSample* sample);

  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  size_t FreeCount();

 private:
  int32_t width_;
  int32_t height_;
  int32_t formatCode_;
  keMutex mutex_;
  std::deque<keVideoSample*> free_;
  keVideoSample* current_;
};
