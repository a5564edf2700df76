// The description of a stream's data that a source offers a renderer during
// connection: major type, subtype, format type, fixed sample size and the
// format block (wave or video, as the format type says).
#pragma once

#include <cstdint>

#include "MediaGuids.h"

/// Tag for integer PCM in WaveFormatEx::wFormatTag.
constexpr uint16_t kWaveFormatPcm = 1;

struct WaveFormatEx {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  /// Bytes of one sample frame: one sample of every channel.
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
};

struct MediaRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

struct BitmapInfoHeader {
  int32_t biWidth = 0;
  /// Positive: the picture's height, whatever its row order (see MediaGuids.h).
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  /// The subtype's four-character code.
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
};

struct VideoInfoHeader {
  /// The part of the picture to show; (0, 0, width, height) for whole frames.
  MediaRect rcSource;
  MediaRect rcTarget;
  uint32_t dwBitRate = 0;
  /// 100-ns units per frame; 0 when the source states no rate.
  int64_t AvgTimePerFrame = 0;
  BitmapInfoHeader bmiHeader;
};

struct MediaType {
  keGuid majortype = GUID_NULL;
  keGuid subtype = GUID_NULL;
  keGuid formattype = GUID_NULL;
  bool bFixedSizeSamples = false;
  /// Bytes per sample frame (audio) or per picture (video); 0 when variable.
  uint32_t lSampleSize = 0;
  /// Valid when formattype is FORMAT_WaveFormatEx.
  WaveFormatEx wave;
  /// Valid when formattype is FORMAT_VideoInfo.
  VideoInfoHeader video;
};

/// Interleaved signed 16-bit PCM of `channels` channels at `samplesPerSec`.
MediaType MakePcmAudioType(int channels, int samplesPerSec);

/// Whole pictures of one of the eight video subtypes, `width` × `height`
/// pixels, rows without padding. `avgTimePerFrame` in 100-ns units (0: none).
MediaType MakeVideoType(const keGuid& subtype, int width, int height, int64_t avgTimePerFrame);

/// Bytes of one width × height picture of `subtype` without row padding, or
/// -1 when `subtype` is not one of the eight video subtypes.
int64_t VideoFrameBytes(const keGuid& subtype, int width, int height);

/// The subtype's four-character code as text ("IYUV"), or "?" for others.
const char* SubtypeName(const keGuid& subtype);
