// Identifiers of media types, subtypes and format blocks. The values are our
// own: a four-character code in the first field and a fixed tail, so that a
// subtype reads as its FOURCC in a debugger.
#pragma once

#include <cstdint>

#include "platform/keGuid.h"

constexpr keGuid MakeFourccGuid(char a, char b, char c, char d) {
  return keGuid{static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
                    (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
                    (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24),
                0x6D67,  // "mg"
                0x0010,
                {0x8A, 0x5E, 'O', 'S', 'T', 'R', 'E', 'L'}};
}

/// No identifier (an unset type).
inline constexpr keGuid GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Major types.
inline constexpr keGuid MEDIATYPE_Audio = MakeFourccGuid('a', 'u', 'd', 's');
inline constexpr keGuid MEDIATYPE_Video = MakeFourccGuid('v', 'i', 'd', 's');

// Audio subtype: interleaved little-endian integer samples.
inline constexpr keGuid MEDIASUBTYPE_PCM = MakeFourccGuid('P', 'C', 'M', ' ');

// Video subtypes, each laid out as its name says.
/// Planar 4:2:0: Y, then V, then U.
inline constexpr keGuid MEDIASUBTYPE_YV12 = MakeFourccGuid('Y', 'V', '1', '2');
/// Planar 4:2:0: Y, then U, then V.
inline constexpr keGuid MEDIASUBTYPE_IYUV = MakeFourccGuid('I', 'Y', 'U', 'V');
/// Packed 4:2:2, each pixel pair Y0 U Y1 V.
inline constexpr keGuid MEDIASUBTYPE_YUY2 = MakeFourccGuid('Y', 'U', 'Y', '2');
/// Packed 4:2:2, each pixel pair U Y0 V Y1.
inline constexpr keGuid MEDIASUBTYPE_UYVY = MakeFourccGuid('U', 'Y', 'V', 'Y');
/// Packed 4:2:2, each pixel pair Y0 V Y1 U.
inline constexpr keGuid MEDIASUBTYPE_YVYU = MakeFourccGuid('Y', 'V', 'Y', 'U');
/// Packed 4:4:4, each pixel V U Y A, top row first.
inline constexpr keGuid MEDIASUBTYPE_AYUV = MakeFourccGuid('A', 'Y', 'U', 'V');
/// Bottom-up rows of pixels B G R X.
inline constexpr keGuid MEDIASUBTYPE_RGB32 = MakeFourccGuid('B', 'G', 'R', 'X');
/// Bottom-up rows of pixels B G R.
inline constexpr keGuid MEDIASUBTYPE_RGB24 = MakeFourccGuid('B', 'G', 'R', '3');

// Format blocks.
/// MediaType::wave holds the format.
inline constexpr keGuid FORMAT_WaveFormatEx = MakeFourccGuid('W', 'A', 'V', 'E');
/// MediaType::video holds the format.
inline constexpr keGuid FORMAT_VideoInfo = MakeFourccGuid('V', 'I', 'D', 'I');
