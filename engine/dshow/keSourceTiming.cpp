#include "keSourceTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

keFrameRateChoice keChooseFrameRate(HRESULT result, double statedRate, const std::function<double()>& measure) {
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

std::string keStartPastEndText(const std::string& startText, const std::string& what, double seconds) {
  char at[32];
  std::snprintf(at, sizeof at, "%.2f", seconds);
  return "The start time " + startText + " s is not before " + what + " (" + at + " s): nothing would be encoded.";
}

double keChooseEndTime(double videoLength, double audioLength) {
  const bool haveVideo = videoLength >= 0.0;
  const bool haveAudio = audioLength >= 0.0;
  if (haveVideo && haveAudio) return std::max(videoLength, audioLength);
  if (haveVideo) return videoLength;
  if (haveAudio) return audioLength;
  return -1.0;
}

double keChooseDataEnd(double videoEnd, double audioEnd) {
  if (videoEnd < 0.0) return audioEnd;
  return audioEnd > videoEnd + kSoundPaddingSeconds ? audioEnd : videoEnd;
}
