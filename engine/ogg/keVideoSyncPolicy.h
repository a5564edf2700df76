// What the Theora encoder asks about every incoming frame: how many times to
// emit it (0 drops it, 1 emits it once, more repeat it), so that the encoded
// stream keeps to the profile's regular frame clock whatever the source's
// time stamps do.
#pragma once

#include <cstdint>

class keVideoSample;

class keVideoSyncPolicy {
 public:
  virtual ~keVideoSyncPolicy() = default;
  virtual void SetSourceFps(double fps) = 0;
  virtual void SetTargetFps(double fps) = 0;
  /// Forgets every frame seen so far (called when the stream starts).
  virtual void Reset() = 0;
  /// Decides the emit count of `frame` (read through GetEmitCount).
  virtual void Decide(const keVideoSample* frame) = 0;
  bool IsDropped() { return GetEmitCount() == 0; }
  virtual int32_t GetEmitCount() = 0;
  /// Whether the policy may emit a frame more than once; a policy that cannot
  /// cannot raise the frame rate above the source's.
  virtual bool CanRepeat() = 0;
};
