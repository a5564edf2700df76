#include "RefCountObjectBlockingQueue.h"

#include "keRefCounted.h"

RefCountObjectBlockingQueue::RefCountObjectBlockingQueue(int32_t capacity)
    : capacity_(capacity > 0 ? capacity : 1),
      hasSpace_(true, "atLeastOneSpaceEvent"),
      hasObject_(false, "atLeastOneObjectEvent"),
      mutex_(false, "RefCountObjectBlockingQueue Mutex") {}

RefCountObjectBlockingQueue::~RefCountObjectBlockingQueue() {
  std::deque<keRefCounted*> left;
  {
    keMutexLock lock(mutex_);
    left.swap(objects_);
  }
  while (!left.empty()) {
    try {
      ReleaseAll(left);
    } catch (const keOverReleaseError&) {
      // A reference the producer never held: nothing is left to give back,
      // and a destructor must not throw.
    }
  }
  hasSpace_.Close();
  hasObject_.Close();
  mutex_.Close();
}

bool RefCountObjectBlockingQueue::Put(keRefCounted* object) {
  if (object == nullptr) return false;
  for (;;) {
    hasSpace_.Wait(keINFINITE);
    {
      keMutexLock lock(mutex_);
      if (!closed_) {
        // Another producer may have taken the last space since the wait.
        if (static_cast<int32_t>(objects_.size()) >= capacity_) continue;
        objects_.push_back(object);
        hasObject_.Set();
        if (static_cast<int32_t>(objects_.size()) == capacity_) hasSpace_.Reset();
        return true;
      }
    }
    object->Release();  // refused: closed
    return false;
  }
}

keRefCounted* RefCountObjectBlockingQueue::Take() {
  for (;;) {
    hasObject_.Wait(keINFINITE);
    keMutexLock lock(mutex_);
    if (closed_) return nullptr;     // what is left is Close's to release
    if (objects_.empty()) continue;  // another consumer was quicker
    keRefCounted* object = objects_.front();
    objects_.pop_front();
    hasSpace_.Set();
    if (objects_.empty() && !closed_) hasObject_.Reset();
    return object;
  }
}

void RefCountObjectBlockingQueue::Close() {
  {
    keMutexLock lock(mutex_);
    closed_ = true;
    // Both events stay set from now on, so no Put or Take waits again.
    hasSpace_.Set();
    hasObject_.Set();
  }
  // One by one, each released outside the lock, and without a container of
  // their own: a queue is closed when memory has run out too. A Take meanwhile
  // gets nothing, as the queue is closed.
  for (;;) {
    keRefCounted* object = nullptr;
    {
      keMutexLock lock(mutex_);
      if (objects_.empty()) break;
      object = objects_.front();
      objects_.pop_front();
    }
    object->Release();
  }
}

int32_t RefCountObjectBlockingQueue::GetCount() {
  keMutexLock lock(mutex_);
  return static_cast<int32_t>(objects_.size());
}

bool RefCountObjectBlockingQueue::IsClosed() {
  keMutexLock lock(mutex_);
  return closed_;
}

void RefCountObjectBlockingQueue::ReleaseAll(std::deque<keRefCounted*>& objects) {
  while (!objects.empty()) {
    keRefCounted* object = objects.front();
    objects.pop_front();
    object->Release();
  }
}
