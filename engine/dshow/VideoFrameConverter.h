// Turns decoded FFmpeg frames into whole pictures of one negotiated video
// subtype and size: rows contiguous without padding, RGB rows bottom-up, the
// other layouts top row first (see MediaGuids.h).
//
// A frame whose layout already is the subtype's and whose size is the
// negotiated one (or one more in an odd dimension) is copied; odd sizes lose
// their last column or row, as EvenPictureSize says. Any other frame is
// converted and, when its size differs, scaled with libswscale.
#pragma once

#include <cstdint>
#include <vector>

#include "FfmpegHandles.h"
#include "MediaGuids.h"

class VideoFrameConverter {
 public:
  /// `width` and `height` must be even and above 0.
  VideoFrameConverter(const keGuid& subtype, int width, int height);
  VideoFrameConverter(const VideoFrameConverter&) = delete;
  VideoFrameConverter& operator=(const VideoFrameConverter&) = delete;

  /// Bytes of one output picture.
  int32_t FrameBytes() const { return frameBytes_; }
  /// Writes one picture of FrameBytes() bytes to `out`; false when the frame
  /// cannot be converted (nothing useful is written then).
  bool Convert(const AVFrame& frame, uint8_t* out);

 private:
  bool IsCopyable(const AVFrame& frame) const;
  bool Scale(const AVFrame& frame, uint8_t* const planes[4], const int linesizes[4]);
  void InterleaveAyuv(uint8_t* out) const;
  void FlipRows(uint8_t* out, int rowBytes);
  void DescribePlanes(uint8_t* out, uint8_t* planes[4], int linesizes[4]) const;

  keGuid subtype_;
  int width_;
  int height_;
  int32_t frameBytes_;
  /// The FFmpeg layout written: YV12 is YUV420P with the chroma planes
  /// swapped, AYUV is produced from YUV444P.
  AVPixelFormat target_;
  SwsContextPtr scaler_;
  std::vector<uint8_t> scratch_;
  std::vector<uint8_t> rowScratch_;
};
