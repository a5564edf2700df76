// How long a renderer filter's end of stream waits for its listeners to let
// go of the sample it must hand on once more as the final one.
#pragma once

#include <cstdint>

#include "keEvent.h"

/// Long enough for any encoder to finish a block; a listener that takes
/// longer is taken to have stopped, and an abort must not hang on it.
constexpr uint32_t kFinalReleaseWaitMs = 10000;

inline bool WaitForFinalRelease(keEvent& zeroRefEvent) { return zeroRefEvent.Wait(kFinalReleaseWaitMs); }
