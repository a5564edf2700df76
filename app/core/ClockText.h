// Seconds shown as a clock time, for the window's times and the probe's duration.
#pragma once

#include <cstdint>
#include <string>

/// "%02d:%02d:%02d" of hours, minutes and seconds; hours take more than two
/// digits when needed. Signed arithmetic throughout, as the callers pass
/// differences of wall-clock seconds.
std::string FormatHMS(int32_t seconds);
