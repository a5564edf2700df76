// Deinterlacing of planar YUV 4:2:0 pictures with libpostproc's 5-tap
// intra-frame filter ("fd": every second line becomes -1 4 2 4 -1 of its
// neighbours), in place. One Deinterlacer serves one stream of pictures; it
// keeps its filter state and a scratch copy between calls.
#pragma once

#include <cstdint>
#include <vector>

class Deinterlacer {
 public:
  Deinterlacer();
  ~Deinterlacer();
  Deinterlacer(const Deinterlacer&) = delete;
  Deinterlacer& operator=(const Deinterlacer&) = delete;

  /// Deinterlaces the Y, U and V planes (`linesizes` bytes apart, chroma at
  /// half the width and height, rounded down) in place; false when the size
  /// is below 2 × 2 or the filter is not available (the picture is unchanged).
  bool Apply(uint8_t* const planes[3], const int linesizes[3], int width, int height);

 private:
  void* mode_ = nullptr;
  void* context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> scratch_;
};
