// Deinterlacing a planar 4:2:0 picture in place.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "dshow/Deinterlacer.h"

namespace {

/// A 4:2:0 picture with padded lines; luma rows alternate `even` and `odd`.
struct Picture {
  Picture(int w, int h, int pad, uint8_t even, uint8_t odd)
      : width(w), height(h), linesizes{w + pad, w / 2 + pad, w / 2 + pad} {
    for (int p = 0; p < 3; ++p) {
      const int rows = p ? h / 2 : h;
      planes[p].assign(static_cast<size_t>(linesizes[p]) * rows, 7);  // padding bytes are 7
      for (int row = 0; row < rows; ++row)
        for (int x = 0; x < (p ? w / 2 : w); ++x) At(p, x, row) = p ? 128 : (row % 2 ? odd : even);
    }
  }
  uint8_t& At(int p, int x, int row) { return planes[p][static_cast<size_t>(row) * linesizes[p] + x]; }
  bool Apply(Deinterlacer& deinterlacer) {
    uint8_t* pointers[3] = {planes[0].data(), planes[1].data(), planes[2].data()};
    return deinterlacer.Apply(pointers, linesizes, width, height);
  }
  int width, height;
  int linesizes[3];
  std::vector<uint8_t> planes[3];
};

TEST(Deinterlacer, BlendsAlternatingLinesAndKeepsFlatPicturesAndPadding) {
  struct Case {
    int width, height, pad;
    uint8_t even, odd;
  };
  for (const Case& c : std::vector<Case>{{32, 32, 0, 200, 50}, {66, 38, 10, 200, 50}, {48, 16, 4, 90, 90}}) {
    SCOPED_TRACE(c.width);
    Deinterlacer deinterlacer;
    Picture picture(c.width, c.height, c.pad, c.even, c.odd);
    ASSERT_TRUE(picture.Apply(deinterlacer));
    // (-1·odd + 4·even + 2·odd + 4·even - 1·odd) / 8 = even on every odd row.
    for (int row = 2; row < c.height - 2; ++row)
      for (int x = 0; x < c.width; ++x) ASSERT_NEAR(picture.At(0, x, row), c.even, 2) << x << "," << row;
    for (int p = 1; p < 3; ++p)
      for (int row = 0; row < c.height / 2; ++row)
        for (int x = 0; x < c.width / 2; ++x) ASSERT_EQ(picture.At(p, x, row), 128);
    for (int p = 0; p < 3; ++p)
      for (int row = 0; row < (p ? c.height / 2 : c.height); ++row)
        for (int x = p ? c.width / 2 : c.width; x < picture.linesizes[p]; ++x)
          ASSERT_EQ(picture.At(p, x, row), 7) << "padding of plane " << p;
  }
}

TEST(Deinterlacer, LeavesTooSmallPicturesAlone) {
  Deinterlacer deinterlacer;
  Picture picture(1, 1, 0, 200, 50);
  EXPECT_FALSE(picture.Apply(deinterlacer));
  EXPECT_EQ(picture.At(0, 0, 0), 200);
}

}  // namespace
