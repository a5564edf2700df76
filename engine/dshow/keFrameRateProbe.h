// Measures the frame rate of a file that states none: decodes the file,
// unclocked, into a counting video filter for at most a given wall time and
// divides the frames counted by the time they cover, from the start of the
// first to the end of the last (a video that starts after the audio is not
// taken to be slower for it).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "keEngineContext.h"

class DirectShowVideoSource;
class FilterGraph;

class keFrameRateProbe {
 public:
  /// Does the whole measurement. `firstKind` is the kind of the file's first
  /// stream (-1 none, 0 audio, 1 video): it decides whether the counting
  /// filter or the null renderer is connected first.
  keFrameRateProbe(keEngineContext* context, const char* path, uint32_t waitMs, int32_t firstKind);
  ~keFrameRateProbe();
  keFrameRateProbe(const keFrameRateProbe&) = delete;
  keFrameRateProbe& operator=(const keFrameRateProbe&) = delete;

  /// The measured rate snapped down to a whole or half number
  /// (keSnapFrameRate); not a number when no frame arrived in time.
  double GetMeasuredFrameRate();

 private:
  std::unique_ptr<FilterGraph> graph;
  std::string path;
  double frameRate = 0.0;
  std::unique_ptr<DirectShowVideoSource> counter;
};

/// Frames per second from `frames` frames from `firstStart` to `lastEnd`
/// (100-ns units); not a number when they cover no time.
double keRateFromCount(double frames, int64_t firstStart, int64_t lastEnd);

/// Snaps a measured rate down: a whole rate stays; otherwise a fraction
/// below 0.25 is dropped and any other becomes .5, so 29.97 gives 29.5 and
/// 25.2 gives 25.0. A rate is never rounded up. Not-a-number and rates of 0
/// or less are returned as they are.
double keSnapFrameRate(double rate);
