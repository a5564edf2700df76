#include "PreviewTime.h"

std::string SecondsFromPreviewPosition(int64_t milliseconds) {
  // Division truncates towards zero, so -1 ms (nothing loaded) reads "0".
  return std::to_string(static_cast<int>(milliseconds / 1000));
}
