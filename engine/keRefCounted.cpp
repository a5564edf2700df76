#include "keRefCounted.h"

keRefCounted::keRefCounted() : zeroRefEvent_(true, "zeroRefEvent") {}

keRefCounted::~keRefCounted() {
  mutex_.Close();
  zeroRefEvent_.Close();
}

void keRefCounted::AddRef() {
  keMutexLock lock(mutex_);
  ++count_;
  zeroRefEvent_.Reset();
}

void keRefCounted::Release() {
  {
    keMutexLock lock(mutex_);
    if (count_ == 0) throw keOverReleaseError();
    if (--count_ != 0) return;
    // Set under the lock, so that an AddRef right after cannot be overtaken
    // and leave the event set while the sample is handed out again.
    zeroRefEvent_.Set();
  }
  OnZeroRef();
}

uint32_t keRefCounted::GetRefCount() {
  keMutexLock lock(mutex_);
  return count_;
}
