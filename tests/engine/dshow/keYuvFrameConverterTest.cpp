// Conversion of each accepted layout to planar YUV 4:2:0.
#include <gtest/gtest.h>

#include <vector>

#include "dshow/MediaGuids.h"
#include "dshow/MediaType.h"
#include "dshow/keYuvFrameConverter.h"

namespace {

struct Planes {
  std::vector<uint8_t> y, u, v;
};

Planes Convert(const keGuid& subtype, int w, int h, const std::vector<uint8_t>& data) {
  keYuvFrameConverter converter(w, h, subtype);
  MediaSample sample(static_cast<int32_t>(data.size()));
  std::copy(data.begin(), data.end(), sample.Data());
  sample.SetActualDataLength(static_cast<int32_t>(data.size()));
  converter.ConvertSample(&sample);
  const size_t luma = static_cast<size_t>(w) * h, chroma = luma / 4;
  return {std::vector<uint8_t>(converter.GetY(), converter.GetY() + luma),
          std::vector<uint8_t>(converter.GetU(), converter.GetU() + chroma),
          std::vector<uint8_t>(converter.GetV(), converter.GetV() + chroma)};
}

using Bytes = std::vector<uint8_t>;

struct RgbCase {
  const char* name;
  uint8_t b, g, r;
  uint8_t y, u, v;
};

TEST(keYuvFrameConverter, ConvertsRgbPixelsWithTheIntegerFormulas) {
  const std::vector<RgbCase> cases = {
      {"white", 255, 255, 255, 255, 128, 128},
      {"black", 0, 0, 0, 0, 128, 128},
      // Y16 = 4996980: Y 76; V = 128 + 130 clamped to 255; U = 128 - 44.
      {"red", 0, 0, 255, 76, 84, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes rgb24, rgb32;
    for (int i = 0; i < 4; ++i) {
      rgb24.insert(rgb24.end(), {c.b, c.g, c.r});
      rgb32.insert(rgb32.end(), {c.b, c.g, c.r, 9});
    }
    for (const auto& planes : {Convert(MEDIASUBTYPE_RGB24, 2, 2, rgb24), Convert(MEDIASUBTYPE_RGB32, 2, 2, rgb32)}) {
      EXPECT_EQ(planes.y, Bytes(4, c.y));
      EXPECT_EQ(planes.u, Bytes(1, c.u));
      EXPECT_EQ(planes.v, Bytes(1, c.v));
    }
  }
}

TEST(keYuvFrameConverter, RgbRowsAreBottomUp) {
  // 2 × 4 pixels: the buffer's first two rows are black, its last two white,
  // so the top of the picture is white.
  Bytes rgb24;
  for (int row = 0; row < 4; ++row)
    for (int x = 0; x < 2; ++x) rgb24.insert(rgb24.end(), 3, row < 2 ? 0 : 255);
  const Planes planes = Convert(MEDIASUBTYPE_RGB24, 2, 4, rgb24);
  EXPECT_EQ(planes.y, (Bytes{255, 255, 255, 255, 0, 0, 0, 0}));
}

TEST(keYuvFrameConverter, PlanarLayoutsGoToTheirPlanes) {
  // 4 × 2: luma 0..7, then two chroma planes of two bytes each.
  const Bytes data = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 20, 21};
  const Planes iyuv = Convert(MEDIASUBTYPE_IYUV, 4, 2, data);
  EXPECT_EQ(iyuv.y, (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(iyuv.u, (Bytes{10, 11}));
  EXPECT_EQ(iyuv.v, (Bytes{20, 21}));
  const Planes yv12 = Convert(MEDIASUBTYPE_YV12, 4, 2, data);
  EXPECT_EQ(yv12.v, (Bytes{10, 11}));
  EXPECT_EQ(yv12.u, (Bytes{20, 21}));
}

struct PackedCase {
  keGuid subtype;
  Bytes evenRow, oddRow;  // one pixel pair each
};

TEST(keYuvFrameConverter, Packed422TakesChromaFromTheEvenRowsOnly) {
  const std::vector<PackedCase> cases = {
      {MEDIASUBTYPE_YUY2, {1, 50, 2, 60}, {3, 99, 4, 99}},
      {MEDIASUBTYPE_UYVY, {50, 1, 60, 2}, {99, 3, 99, 4}},
      {MEDIASUBTYPE_YVYU, {1, 60, 2, 50}, {3, 99, 4, 99}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(SubtypeName(c.subtype));
    Bytes data = c.evenRow;
    data.insert(data.end(), c.oddRow.begin(), c.oddRow.end());
    const Planes planes = Convert(c.subtype, 2, 2, data);
    EXPECT_EQ(planes.y, (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(planes.u, Bytes{50});
    EXPECT_EQ(planes.v, Bytes{60});
  }
}

TEST(keYuvFrameConverter, AyuvAveragesChromaOverTwoByTwo) {
  // V U Y A per pixel.
  const Bytes data = {10, 100, 1, 0, 20, 104, 2, 0, 30, 108, 3, 0, 41, 113, 4, 0};
  const Planes planes = Convert(MEDIASUBTYPE_AYUV, 2, 2, data);
  EXPECT_EQ(planes.y, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(planes.v, Bytes{25});   // 101 >> 2
  EXPECT_EQ(planes.u, Bytes{106});  // 425 >> 2
}

TEST(keYuvFrameConverter, ShortBuffersAreNotReadPastTheirEnd) {
  // Run under the address sanitizer: every layout with a buffer of one byte
  // and of half a picture.
  for (const keGuid* subtype : {&MEDIASUBTYPE_YV12, &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YUY2, &MEDIASUBTYPE_UYVY,
                                &MEDIASUBTYPE_YVYU, &MEDIASUBTYPE_AYUV, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_RGB24}) {
    for (size_t size : {size_t{1}, size_t{16 * 16 * 2}}) {
      const Planes planes = Convert(*subtype, 16, 16, Bytes(size, 200));
      EXPECT_EQ(planes.y.size(), 256u) << SubtypeName(*subtype);
    }
  }
}

}  // namespace
