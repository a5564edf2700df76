// Seconds shown as a clock time.
#include "ClockText.h"

#include <cstdio>

std::string FormatHMS(int32_t seconds) {
  const int32_t s = seconds % 60;
  const int32_t totalMinutes = (seconds - s) / 60;
  const int32_t m = totalMinutes % 60;
  const int32_t h = (totalMinutes - m) / 60;
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(h), static_cast<int>(m), static_cast<int>(s));
  return text;
}
