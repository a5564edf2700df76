// The bounded hand-off of decoded samples from a source's streaming thread to
// one encoder thread.
//
// Contract:
// - Put hands over one reference of the caller's: from then on the queue (and
//   whoever takes the object) owns it. Put blocks while the queue is full, so
//   a producer runs at most `capacity` samples ahead of its consumer.
// - Take blocks until an object is there and hands its reference to the
//   caller, who releases it when done.
// - Close is the consumer's way to stop: every queued reference is released,
//   a blocked or later Put releases the reference it was given and returns
//   false, and Take returns null from then on. Closing makes no allocation,
//   so that it works when memory has run out. A renderer filter
//   waiting for its sample's count to reach zero is thereby never left
//   waiting on an encoder that has stopped.
// - The destructor releases what is still queued (the samples belong to their
//   factories and are never deleted here).
//
// One producer and one consumer is the intended use; several of either are
// safe too.
#pragma once

#include <cstdint>
#include <deque>

#include "keEvent.h"
#include "keMutex.h"

class keRefCounted;

class RefCountObjectBlockingQueue {
 public:
  explicit RefCountObjectBlockingQueue(int32_t capacity = 10);
  ~RefCountObjectBlockingQueue();
  RefCountObjectBlockingQueue(const RefCountObjectBlockingQueue&) = delete;
  RefCountObjectBlockingQueue& operator=(const RefCountObjectBlockingQueue&) = delete;

  /// Appends `object`, waiting without a time-out for space. True when
  /// queued; false when the queue is closed (the reference is then released).
  bool Put(keRefCounted* object);
  /// Removes and returns the front object, waiting without a time-out for
  /// one. Null only when the queue is closed.
  keRefCounted* Take();
  /// Stops the queue for good (see above). Safe to call more than once.
  void Close();

  int32_t GetCapacity() const { return capacity_; }
  int32_t GetCount();
  bool IsClosed();

 private:
  /// Releases each reference, outside the queue's lock: releasing may hand a
  /// sample back to its factory, which takes the factory's own lock. An
  /// object released more often than referenced throws keOverReleaseError;
  /// the objects before it are released and removed, the rest stay.
  static void ReleaseAll(std::deque<keRefCounted*>& objects);

  std::deque<keRefCounted*> objects_;
  int32_t capacity_;
  keEvent hasSpace_;
  keEvent hasObject_;
  keMutex mutex_;
  bool closed_ = false;
};
