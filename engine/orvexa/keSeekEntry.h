// One point of a content's seek index: where a key page starts and when.
#pragma once

#include <cstdint>

struct keSeekEntry {
  int64_t offset;       ///< content bytes written before the page
  uint32_t serial;      ///< the page's logical stream (0 Vorbis, 1 Theora)
  int64_t keyPosition;  ///< position of the key packet's first unit
  int64_t timeMs;       ///< that position in milliseconds

  /// Bytes of one serialised entry.
  static constexpr int32_t kSerialisedSize = 28;
};
