#include "kePlanarPicture.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
}

kePlanarPicture::kePlanarPicture(int32_t width, int32_t height) : width_(width), height_(height) {
  // Lines aligned for the scaler's vector code.
  if (width <= 0 || height <= 0 || av_image_alloc(data, linesize, width, height, AV_PIX_FMT_YUV420P, 32) < 0) {
    for (auto& plane : data) plane = nullptr;
  }
}

kePlanarPicture::~kePlanarPicture() { av_freep(&data[0]); }
