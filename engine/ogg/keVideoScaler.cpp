#include "keVideoScaler.h"

extern "C" {
#include <libswscale/swscale.h>
}

void keVideoScaler::ContextDeleter::operator()(SwsContext* context) const { sws_freeContext(context); }

keVideoScaler::keVideoScaler(int32_t sourceWidth, int32_t sourceHeight, keCropBands bands, int32_t outWidth,
                             int32_t outHeight)
    : sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), bands_(bands), picture_(outWidth, outHeight) {
  const int32_t cropWidth = sourceWidth - bands.left - bands.right;
  const int32_t cropHeight = sourceHeight - bands.top - bands.bottom;
  if (bands.top < 0 || bands.bottom < 0 || bands.left < 0 || bands.right < 0 || cropWidth <= 0 || cropHeight <= 0 ||
      !picture_.IsReady())
    return;
  context_.reset(sws_getContext(cropWidth, cropHeight, AV_PIX_FMT_YUV420P, outWidth, outHeight, AV_PIX_FMT_YUV420P,
                                SWS_BICUBIC, nullptr, nullptr, nullptr));
}

keVideoScaler::~keVideoScaler() = default;

void keVideoScaler::Scale(const uint8_t* const planes[3]) {
  if (!IsReady()) return;
  const int lumaLine = sourceWidth_;
  const int chromaLine = sourceWidth_ / 2;
  // The chroma planes have half the resolution: their bands are halved
  // (rounded down, so an odd band keeps the rectangle inside the plane).
  const uint8_t* source[3] = {
      planes[0] + static_cast<ptrdiff_t>(bands_.top) * lumaLine + bands_.left,
      planes[1] + static_cast<ptrdiff_t>(bands_.top / 2) * chromaLine + bands_.left / 2,
      planes[2] + static_cast<ptrdiff_t>(bands_.top / 2) * chromaLine + bands_.left / 2,
  };
  const int strides[3] = {lumaLine, chromaLine, chromaLine};
  const int cropHeight = sourceHeight_ - bands_.top - bands_.bottom;
  sws_scale(context_.get(), source, strides, 0, cropHeight, picture_.data, picture_.linesize);
}
