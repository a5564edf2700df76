// What a source offers a renderer for one stream, in order of preference:
//
// - video: the decoded frame's own layout when it is one of the eight video
//   subtypes (yuv420p → IYUV, yuyv422 → YUY2, uyvy422 → UYVY, yvyu422 → YVYU,
//   bgra/bgr0 → RGB32, bgr24 → RGB24), then conversions to the others in the
//   order IYUV, YV12, YUY2, UYVY, YVYU, AYUV, RGB32, RGB24. The picture size is
//   the stream's size made even (EvenPictureSize).
// - audio: interleaved 16-bit PCM at the source's rate, first with the
//   source's channel count (when it is not 2), then stereo.
#pragma once

#include <vector>

#include "MediaFile.h"
#include "MediaType.h"

std::vector<MediaType> OfferedMediaTypes(const MediaFile& file, size_t streamIndex);

/// The video subtype whose memory layout is exactly `format`'s; GUID_NULL when
/// none is (AYUV has no FFmpeg pixel format and is never a frame's own layout).
keGuid SubtypeOfPixelFormat(AVPixelFormat format);
