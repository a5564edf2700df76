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
  bool reachedZero;
  {
    keMutexLock lock(mutex_);
    if (count_ == 0) throw keOverReleaseError();
    reachedZero = --count_ == 0;
  }
  if (reachedZero) {
    zeroRefEvent_.Set();
    OnZeroRef();
  }
}

uint32_t keRefCounted::GetRefCount() {
  keMutexLock lock(mutex_);
  return count_;
}
