// An owned planar YUV 4:2:0 picture (libavutil's image buffers), freed with
// its owner.
#pragma once

#include <cstdint>

class kePlanarPicture {
 public:
  /// Allocates the three planes of a width × height picture; IsReady tells
  /// whether that worked.
  kePlanarPicture(int32_t width, int32_t height);
  ~kePlanarPicture();
  kePlanarPicture(const kePlanarPicture&) = delete;
  kePlanarPicture& operator=(const kePlanarPicture&) = delete;

  bool IsReady() const { return data[0] != nullptr; }
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }

  uint8_t* data[4] = {nullptr, nullptr, nullptr, nullptr};
  int linesize[4] = {0, 0, 0, 0};

 private:
  int32_t width_;
  int32_t height_;
};
