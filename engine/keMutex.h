// The engine's mutex. A labelled mutex is shared process-wide with every other
// keMutex of the same label (see keNamedMutexTable.h); it is recursive for the
// thread that holds it. Lock and Unlock must be called on the same thread.
#pragma once

#include "platform/keNamedMutexTable.h"

class keMutex {
 public:
  /// An unnamed mutex that nobody owns yet.
  keMutex();
  /// The mutex named `label`; taken at once when `initialOwner` is set.
  keMutex(bool initialOwner, const char* label);
  ~keMutex();
  keMutex(const keMutex&) = delete;
  keMutex& operator=(const keMutex&) = delete;

  /// Waits without a time-out until this thread holds the mutex; returns 0.
  int Lock();
  void Unlock();
  /// Lets go of the system object. Lock and Unlock must not follow.
  void Close();

 private:
  kePlatform::SharedRecursiveMutex handle_;
};

/// Holds a keMutex for the lifetime of a scope.
class keMutexLock {
 public:
  explicit keMutexLock(keMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  ~keMutexLock() { mutex_.Unlock(); }
  keMutexLock(const keMutexLock&) = delete;
  keMutexLock& operator=(const keMutexLock&) = delete;

 private:
  keMutex& mutex_;
};
