#include "keVideoSampleFactory.h"

#include <algorithm>

keVideoSampleFactory::keVideoSampleFactory(int32_t width, int32_t height, int32_t formatCode)
    : width_(width),
      height_(height),
      formatCode_(formatCode),
      mutex_(false, "Video SampleFactory Mutex"),
      current_(new keVideoSample(this, width, height, formatCode)) {}

keVideoSampleFactory::~keVideoSampleFactory() {
  // The last listener's Release may still be returning the sample to us.
  current_->WaitForPendingRelease();
  delete current_;
  mutex_.Close();
}

keVideoSample* keVideoSampleFactory::GetSample(uint8_t* const planes[4], bool copy) {
  keMutexLock lock(mutex_);
  if (!free_.empty()) {
    current_ = free_.front();
    free_.pop_front();
  }
  return current_->SetPlanes(planes, copy) ? current_ : nullptr;
}

void keVideoSampleFactory::RecycleSample(keVideoSample* sample) {
  keMutexLock lock(mutex_);
  // A late return (the filter already reloaded the sample before its last
  // releaser got here) must not put the one sample on the list twice, or the
  // list would grow by one entry per late return for the whole run.
  if (std::find(free_.begin(), free_.end(), sample) == free_.end()) free_.push_back(sample);
}

size_t keVideoSampleFactory::FreeCount() {
  keMutexLock lock(mutex_);
  return free_.size();
}
