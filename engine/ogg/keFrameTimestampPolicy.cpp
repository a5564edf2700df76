#include "keFrameTimestampPolicy.h"

#include "keVideoSample.h"

void keFrameTimestampPolicy::SetTargetFps(double fps) {
  targetFps_ = fps;
  rateNumerator_ = static_cast<int32_t>(fps * 1000.0);
}

void keFrameTimestampPolicy::Reset() {
  framesEmitted_ = 0;
  nextOutputMs_ = 0;
}

void keFrameTimestampPolicy::Decide(const keVideoSample* frame) {
  if (rateNumerator_ <= 0) {
    // Without a target clock there are no slots to fill: pass frames on as
    // they come rather than loop on a slot time that never advances.
    emitCount_ = 1;
    ++framesEmitted_;
    return;
  }
  const int64_t frameMs = frame->start / 10000;
  emitCount_ = 0;
  while (nextOutputMs_ < frameMs || (frame->last && emitCount_ == 0)) {
    ++emitCount_;
    nextOutputMs_ = static_cast<int64_t>(framesEmitted_ + emitCount_) * 1000 * rateDenominator_ / rateNumerator_;
  }
  framesEmitted_ += emitCount_;
}
