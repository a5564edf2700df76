// Crops and scales the source's planar YUV 4:2:0 frames to the size a Theora
// encoder wants (libswscale). Cropping takes the rectangle left after
// removing the top, bottom, left and right bands from the source planes; that
// rectangle is then scaled to the output size.
//
// Used only on its encoder's thread.
#pragma once

#include <cstdint>
#include <memory>

#include "kePlanarPicture.h"

struct SwsContext;

struct keCropBands {
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t left = 0;
  int32_t right = 0;

  bool Any() const { return top != 0 || bottom != 0 || left != 0 || right != 0; }
};

class keVideoScaler {
 public:
  keVideoScaler(int32_t sourceWidth, int32_t sourceHeight, keCropBands bands, int32_t outWidth, int32_t outHeight);
  ~keVideoScaler();
  keVideoScaler(const keVideoScaler&) = delete;
  keVideoScaler& operator=(const keVideoScaler&) = delete;

  /// False when the bands leave no picture or the scaler refused the sizes.
  bool IsReady() const { return context_ != nullptr && picture_.IsReady(); }

  /// Crops and scales one source frame: Y, U, V planes of the source size,
  /// with lines of the source width (half of it for the chroma planes).
  /// The result stays in GetPicture() until the next call.
  void Scale(const uint8_t* const planes[3]);
  const kePlanarPicture& GetPicture() const { return picture_; }

 private:
  struct ContextDeleter {
    void operator()(SwsContext* context) const;
  };

  int32_t sourceWidth_;
  int32_t sourceHeight_;
  keCropBands bands_;
  kePlanarPicture picture_;
  std::unique_ptr<SwsContext, ContextDeleter> context_;
};
