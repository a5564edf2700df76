#include "keFrameRatioPolicy.h"

#include "keVideoSample.h"

void keFrameRatioPolicy::Reset() {
  framesEmitted_ = 0;
  accumulator_ = 0.0;
}

void keFrameRatioPolicy::Decide(const keVideoSample* frame) {
  if (targetFps_ != sourceFps_ && sourceFps_ != 0.0) {
    accumulator_ += targetFps_ / sourceFps_;
    if (static_cast<int64_t>(accumulator_) < framesEmitted_ && !frame->last) {
      emitCount_ = 0;
      return;
    }
  }
  emitCount_ = 1;
  ++framesEmitted_;
}
