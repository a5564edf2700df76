// Keeps every n-th frame by the ratio of the target to the source rate. It
// only drops (never repeats): above the source rate every frame goes once.
#pragma once

#include "keVideoSyncPolicy.h"

class keFrameRatioPolicy : public keVideoSyncPolicy {
 public:
  void SetSourceFps(double fps) override { sourceFps_ = fps; }
  void SetTargetFps(double fps) override { targetFps_ = fps; }
  void Reset() override;
  /// Drops the frame when the accumulated target/source ratio has not yet
  /// reached the next whole frame; the stream's last frame is never dropped.
  void Decide(const keVideoSample* frame) override;
  int32_t GetEmitCount() override { return emitCount_; }
  bool CanRepeat() override { return false; }

 private:
  double sourceFps_ = 0.0;
  double targetFps_ = 0.0;
  int32_t emitCount_ = 0;
  int32_t framesEmitted_ = 0;
  double accumulator_ = 0.0;
};
