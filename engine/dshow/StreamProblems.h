// What the streams of one graph run met on their way: failures that cost the
// run its data (a file that cannot be read on), and warnings where decoding
// carried on without a part (a damaged packet skipped). Shared by the run's
// stream threads and read by whoever reports the run.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

class StreamProblems {
 public:
  void Fail(const std::string& reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_.empty() && !outOfMemory_) failure_ = reason;
  }
  /// A failure for want of memory. It allocates nothing, so that a thread
  /// that found no memory still records it: lost, the run would pass for
  /// complete with a stream cut short.
  void FailForMemory() noexcept { outOfMemory_ = true; }
  /// Counts one skipped part of `what` (a stream's name).
  void SkippedPacket(const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++skipped_;
    if (skippedWhat_.empty()) skippedWhat_ = what;
  }
  std::string Failure() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_.empty() && outOfMemory_) return "there is not enough memory to decode the source";
    return failure_;
  }
  /// Empty when nothing was skipped.
  std::string Warning() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (skipped_ == 0) return std::string();
    return std::to_string(skipped_) + " damaged packet(s) of the source were skipped (first in its " + skippedWhat_ +
           ")";
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    failure_.clear();
    outOfMemory_ = false;
    skippedWhat_.clear();
    skipped_ = 0;
  }

 private:
  mutable std::mutex mutex_;
  std::string failure_;
  std::atomic<bool> outOfMemory_{false};
  std::string skippedWhat_;
  long skipped_ = 0;
};
