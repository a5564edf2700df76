// A manual-reset event over a mutex and a condition variable.
#include "keManualResetEvent.h"

#include <chrono>

namespace kePlatform {

void ManualResetEvent::Set() {
  // Notified under the lock: a waiter that wakes may destroy the event at
  // once, and must not find the setter still using it.
  std::lock_guard<std::mutex> guard(mutex_);
  signalled_ = true;
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard<std::mutex> guard(mutex_);
  signalled_ = false;
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard<std::mutex> guard(mutex_);
  return signalled_;
}

bool ManualResetEvent::Wait(uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (milliseconds == kInfinite) {
    changed_.wait(lock, [this] { return signalled_; });
    return true;
  }
  return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return signalled_; });
}

}  // namespace kePlatform
