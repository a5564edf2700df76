// Fills the regular output slots from the frames' own time stamps: a frame is
// emitted once for every slot that lies before its start time, so late frames
// repeat and early ones are dropped. The stream's last frame always goes out
// at least once.
#pragma once

#include "keVideoSyncPolicy.h"

class keFrameTimestampPolicy : public keVideoSyncPolicy {
 public:
  void SetSourceFps(double fps) override { sourceFps_ = fps; }
  /// The slot clock runs at trunc(fps × 1000) / 1000 frames per second.
  void SetTargetFps(double fps) override;
  void Reset() override;
  void Decide(const keVideoSample* frame) override;
  int32_t GetEmitCount() override { return emitCount_; }
  bool CanRepeat() override { return true; }

 private:
  double sourceFps_ = 0.0;
  double targetFps_ = 0.0;
  int32_t emitCount_ = 0;
  int32_t framesEmitted_ = 0;
  int32_t rateNumerator_ = 0;
  int32_t rateDenominator_ = 1000;
  int64_t nextOutputMs_ = 0;
};
