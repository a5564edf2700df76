#include "keAudioSampleFactory.h"

#include <algorithm>

keAudioSampleFactory::keAudioSampleFactory(int32_t channels, int32_t sampleRate)
    : channels_(channels),
      sampleRate_(sampleRate),
      mutex_(false, "Audio Sample Factory Mutex"),
      current_(new keAudioSample(this)) {}

keAudioSampleFactory::~keAudioSampleFactory() {
  // The last listener's Release may still be returning the sample to us.
  current_->WaitForPendingRelease();
  delete current_;
  mutex_.Close();
}

keAudioSample* keAudioSampleFactory::GetSample(const uint8_t* bytes, int32_t length, bool copy) {
  keMutexLock lock(mutex_);
  if (!free_.empty()) {
    current_ = free_.front();
    free_.pop_front();
  }
  return current_->SetData(bytes, length, copy) ? current_ : nullptr;
}

void keAudioSampleFactory::RecycleSample(keAudioSample* sample) {
  keMutexLock lock(mutex_);
  // A late return (the filter already reloaded the sample before its last
  // releaser got here) must not put the one sample on the list twice, or the
  // list would grow by one entry per late return for the whole run.
  if (std::find(free_.begin(), free_.end(), sample) == free_.end()) free_.push_back(sample);
}

size_t keAudioSampleFactory::FreeCount() {
  keMutexLock lock(mutex_);
  return free_.size();
}
