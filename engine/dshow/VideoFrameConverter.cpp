#include "VideoFrameConverter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

extern "C" {
#include <libavutil/imgutils.h>
}

#include "MediaType.h"
#include "OfferedMediaTypes.h"

namespace {

AVPixelFormat TargetFormat(const keGuid& subtype) {
  if (subtype == MEDIASUBTYPE_IYUV || subtype == MEDIASUBTYPE_YV12) return AV_PIX_FMT_YUV420P;
  if (subtype == MEDIASUBTYPE_YUY2) return AV_PIX_FMT_YUYV422;
  if (subtype == MEDIASUBTYPE_UYVY) return AV_PIX_FMT_UYVY422;
  if (subtype == MEDIASUBTYPE_YVYU) return AV_PIX_FMT_YVYU422;
  if (subtype == MEDIASUBTYPE_AYUV) return AV_PIX_FMT_YUV444P;
  if (subtype == MEDIASUBTYPE_RGB32) return AV_PIX_FMT_BGRA;
  if (subtype == MEDIASUBTYPE_RGB24) return AV_PIX_FMT_BGR24;
  return AV_PIX_FMT_NONE;
}

/// The size a source dimension is read at: odd sizes above 1 drop their
/// last row or column.
int ReadSize(int size) { return size >= 2 ? (size & ~1) : size; }

}  // namespace

VideoFrameConverter::VideoFrameConverter(const keGuid& subtype, int width, int height)
    : subtype_(subtype),
      width_(width),
      height_(height),
      frameBytes_(static_cast<int32_t>(std::max<int64_t>(0, VideoFrameBytes(subtype, width, height)))),
      target_(TargetFormat(subtype)) {}

void VideoFrameConverter::DescribePlanes(uint8_t* out, uint8_t* planes[4], int linesizes[4]) const {
  av_image_fill_arrays(planes, linesizes, out, target_, width_, height_, 1);
  if (subtype_ == MEDIASUBTYPE_YV12) std::swap(planes[1], planes[2]);
}

bool VideoFrameConverter::IsCopyable(const AVFrame& frame) const {
  const bool sameLayout =
      frame.format == target_ || (frame.format == AV_PIX_FMT_BGR0 && target_ == AV_PIX_FMT_BGRA);  // X is don't-care
  if (!sameLayout || subtype_ == MEDIASUBTYPE_AYUV) return false;
  return ReadSize(frame.width) == width_ && ReadSize(frame.height) == height_;
}

bool VideoFrameConverter::Convert(const AVFrame& frame, uint8_t* out) {
  if (target_ == AV_PIX_FMT_NONE || width_ <= 0 || height_ <= 0) return false;
  if (frame.width <= 0 || frame.height <= 0 || !frame.data[0]) return false;

  if (IsCopyable(frame)) {
    uint8_t* planes[4] = {};
    int linesizes[4] = {};
    DescribePlanes(out, planes, linesizes);
    av_image_copy(planes, linesizes, const_cast<const uint8_t**>(frame.data), frame.linesize, target_, width_, height_);
  } else if (subtype_ == MEDIASUBTYPE_AYUV) {
    scratch_.resize(static_cast<size_t>(width_) * height_ * 3);
    uint8_t* planes[4] = {};
    int linesizes[4] = {};
    av_image_fill_arrays(planes, linesizes, scratch_.data(), AV_PIX_FMT_YUV444P, width_, height_, 1);
    if (!Scale(frame, planes, linesizes)) return false;
    InterleaveAyuv(out);
  } else {
    uint8_t* planes[4] = {};
    int linesizes[4] = {};
    DescribePlanes(out, planes, linesizes);
    if (!Scale(frame, planes, linesizes)) return false;
  }
  if (subtype_ == MEDIASUBTYPE_RGB32) FlipRows(out, width_ * 4);
  if (subtype_ == MEDIASUBTYPE_RGB24) FlipRows(out, width_ * 3);
  return true;
}

bool VideoFrameConverter::Scale(const AVFrame& frame, uint8_t* const planes[4], const int linesizes[4]) {
  const int sourceWidth = ReadSize(frame.width);
  const int sourceHeight = ReadSize(frame.height);
  scaler_.reset(sws_getCachedContext(scaler_.release(), sourceWidth, sourceHeight,
                                     static_cast<AVPixelFormat>(frame.format), width_, height_, target_, SWS_BICUBIC,
                                     nullptr, nullptr, nullptr));
  if (!scaler_) {
    // A frame of a layout the scaler cannot take is skipped. Between layouts
    // it takes, at sizes above 0, only memory that runs short makes no
    // scaler: the run's failure (thrown as new throws it), not a lost picture.
    const bool supported =
        sws_isSupportedInput(static_cast<AVPixelFormat>(frame.format)) > 0 && sws_isSupportedOutput(target_) > 0;
    if (supported) throw std::bad_alloc();
    return false;
  }
  const int rows = sws_scale(scaler_.get(), frame.data, frame.linesize, 0, sourceHeight, planes, linesizes);
  if (rows == AVERROR(ENOMEM)) throw std::bad_alloc();
  return rows > 0;
}

void VideoFrameConverter::InterleaveAyuv(uint8_t* out) const {
  const size_t pixels = static_cast<size_t>(width_) * height_;
  const uint8_t* y = scratch_.data();
  const uint8_t* u = y + pixels;
  const uint8_t* v = u + pixels;
  for (size_t i = 0; i < pixels; ++i) {
    out[4 * i + 0] = v[i];
    out[4 * i + 1] = u[i];
    out[4 * i + 2] = y[i];
    out[4 * i + 3] = 255;
  }
}

void VideoFrameConverter::FlipRows(uint8_t* out, int rowBytes) {
  std::vector<uint8_t>& row = rowScratch_;
  row.resize(static_cast<size_t>(rowBytes));
  for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = out + static_cast<size_t>(top) * rowBytes;
    uint8_t* b = out + static_cast<size_t>(bottom) * rowBytes;
    std::memcpy(row.data(), a, rowBytes);
    std::memcpy(a, b, rowBytes);
    std::memcpy(b, row.data(), rowBytes);
  }
}
