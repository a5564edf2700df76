// Hands out the one audio sample of a renderer filter. There is exactly one
// sample per factory, reused for the whole run: the filter may load it again
// only after every listener has released it.
#pragma once

#include <cstdint>
#include <deque>

#include "keAudioSample.h"
#include "keMutex.h"

class keAudioSampleFactory {
 public:
  keAudioSampleFactory(int32_t channels, int32_t sampleRate);
  ~keAudioSampleFactory();
  keAudioSampleFactory(const keAudioSampleFactory&) = delete;
  keAudioSampleFactory& operator=(const keAudioSampleFactory&) = delete;

  /// Loads the block into the current sample and returns it; the caller sets
  /// its start and end times. Null when the sample has no memory for it.
  keAudioSample* GetSample(const uint8_t* bytes, int32_t length, bool copy);
  /// Called by a sample whose last reference went.
  void RecycleSample(keAudioSample* sample);

  int32_t GetChannels() const { return channels_; }
  int32_t GetSampleRate() const { return sampleRate_; }
  size_t FreeCount();  ///< samples waiting on the free list

 private:
  int32_t channels_;
  int32_t sampleRate_;
  keMutex mutex_;
  std::deque<keAudioSample*> free_;
  keAudioSample* current_;
};
