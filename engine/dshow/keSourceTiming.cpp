#include "keSourceTiming.h"

#include <cmath>

keFrameRateChoice keChooseFrameRate(HRESULT result, double statedRate,
                                    const std::function<double()>& measure) {
  keFrameRateChoice choice;
  double rate = statedRate;
  if (result == S_FALSE) {
    choice.rateMeasured = true;
    if (!(rate > 0.0) && measure) rate = measure();
  } else if (rate > kHighestStatedFrameRate && measure) {
    rate = measure();
  }
  choice.foundRate = rate;
  choice.frameRate = rate > 0.0 && std::isfinite(rate) ? rate : kDefaultFrameRate;
  return choice;
}

double keChooseEndTime(double videoLength, double audioLength) {
  const bool haveVideo = videoLength >= 0.0;
  const bool haveAudio = audioLength >= 0.0;
  if (haveVideo && haveAudio) return videoLength > audioLength ? audioLength : videoLength;
  if (haveVideo) return videoLength;
  if (haveAudio) return audioLength;
  return -1.0;
}
