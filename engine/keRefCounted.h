// Reference counting for the samples that travel from a renderer filter to
// every encoder. The count is guarded by the object's own mutex; the
// "zeroRefEvent" is signalled exactly while the count is 0, so a filter can
// wait for every listener to let go of a sample before it reuses it.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "keEvent.h"
#include "keMutex.h"

/// Thrown when a consumer releases a sample more often than it was given it.
class keOverReleaseError : public std::logic_error {
 public:
  keOverReleaseError() : std::logic_error("sample released more often than it was referenced") {}
};

class keRefCounted {
 public:
  keRefCounted();
  virtual ~keRefCounted();
  keRefCounted(const keRefCounted&) = delete;
  keRefCounted& operator=(const keRefCounted&) = delete;

  /// Takes one reference; the zero event is reset.
  void AddRef();
  /// Gives one reference back. When the count reaches 0 the zero event is set
  /// first and OnZeroRef runs after it. Releasing at a count of 0 throws
  /// keOverReleaseError and changes nothing.
  void Release();

  uint32_t GetRefCount();
  /// Signalled exactly while the count is 0.
  keEvent& GetZeroRefEvent() { return zeroRefEvent_; }

 protected:
  /// Called, outside the count's lock, when the last reference is released.
  virtual void OnZeroRef() = 0;

 private:
  keMutex mutex_;
  uint32_t count_ = 0;
  keEvent zeroRefEvent_;
};
