// Video scaler: crop bands come off the source before it is scaled.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ogg/keVideoScaler.h"

namespace {

/// A YUV 4:2:0 source whose picture inside the bands holds one value per
/// plane and whose bands hold another.
struct Source {
  int32_t width, height;
  std::vector<uint8_t> y, u, v;

  Source(int32_t w, int32_t h, keCropBands bands, uint8_t inY, uint8_t inC, uint8_t outY, uint8_t outC)
      : width(w), height(h), y(w * h), u((w / 2) * (h / 2)), v((w / 2) * (h / 2)) {
    for (int32_t row = 0; row < h; ++row)
      for (int32_t col = 0; col < w; ++col) {
        bool inside = row >= bands.top && row < h - bands.bottom && col >= bands.left && col < w - bands.right;
        y[row * w + col] = inside ? inY : outY;
      }
    for (int32_t row = 0; row < h / 2; ++row)
      for (int32_t col = 0; col < w / 2; ++col) {
        bool inside = 2 * row >= bands.top && 2 * row + 1 < h - bands.bottom && 2 * col >= bands.left &&
                      2 * col + 1 < w - bands.right;
        u[row * (w / 2) + col] = inside ? inC : outC;
        v[row * (w / 2) + col] = inside ? static_cast<uint8_t>(inC + 20) : outC;
      }
  }
  const uint8_t* planes[3];
  const uint8_t* const* Planes() {
    planes[0] = y.data();
    planes[1] = u.data();
    planes[2] = v.data();
    return planes;
  }
};

/// The largest distance of any sample of `plane` from `expected`.
int MaxDistance(const kePlanarPicture& p, int plane, int32_t w, int32_t h, uint8_t expected) {
  int worst = 0;
  for (int32_t row = 0; row < h; ++row)
    for (int32_t col = 0; col < w; ++col)
      worst = std::max(worst, std::abs(p.data[plane][row * p.linesize[plane] + col] - expected));
  return worst;
}

struct CropCase {
  std::string name;
  int32_t width, height;
  keCropBands bands;
  int32_t outWidth, outHeight;
};

TEST(VideoScaler, KeepsOnlyThePictureInsideTheBands) {
  const std::vector<CropCase> cases = {
      {"crop without scaling", 64, 48, {8, 8, 16, 16}, 32, 32},
      {"crop to the source's own size", 64, 48, {8, 8, 16, 16}, 64, 48},
      {"crop and scale up", 64, 48, {8, 8, 16, 16}, 96, 80},
      {"one band only", 64, 48, {0, 16, 0, 0}, 64, 48},
      {"no bands, new size", 64, 48, {0, 0, 0, 0}, 80, 48},
  };
  for (const auto& c : cases) {
    Source source(c.width, c.height, c.bands, 200, 90, 20, 240);
    keVideoScaler scaler(c.width, c.height, c.bands, c.outWidth, c.outHeight);
    ASSERT_TRUE(scaler.IsReady()) << c.name;
    scaler.Scale(source.Planes());
    const kePlanarPicture& out = scaler.GetPicture();
    EXPECT_EQ(out.GetWidth(), c.outWidth) << c.name;
    EXPECT_EQ(out.GetHeight(), c.outHeight) << c.name;
    EXPECT_LE(MaxDistance(out, 0, c.outWidth, c.outHeight, 200), 2) << c.name;
    EXPECT_LE(MaxDistance(out, 1, c.outWidth / 2, c.outHeight / 2, 90), 2) << c.name;
    EXPECT_LE(MaxDistance(out, 2, c.outWidth / 2, c.outHeight / 2, 110), 2) << c.name;
  }
}

TEST(VideoScaler, CropKeepsTheRectanglesPosition) {
  // Luma holds its column number: after removing 16 columns on the left the
  // first output column is column 16 of the source.
  const int32_t w = 64, h = 32;
  std::vector<uint8_t> y(w * h), u((w / 2) * (h / 2), 128), v((w / 2) * (h / 2), 128);
  for (int32_t row = 0; row < h; ++row)
    for (int32_t col = 0; col < w; ++col) y[row * w + col] = static_cast<uint8_t>(col * 2 + row);
  keVideoScaler scaler(w, h, {4, 12, 16, 16}, 32, 16);
  ASSERT_TRUE(scaler.IsReady());
  const uint8_t* planes[3] = {y.data(), u.data(), v.data()};
  scaler.Scale(planes);
  const kePlanarPicture& out = scaler.GetPicture();
  for (int32_t row = 0; row < 16; ++row)
    for (int32_t col = 0; col < 32; ++col)
      ASSERT_NEAR(out.data[0][row * out.linesize[0] + col], (col + 16) * 2 + row + 4, 1) << row << "," << col;
}

TEST(VideoScaler, RefusesBandsThatLeaveNoPicture) {
  const std::vector<keCropBands> refused = {{24, 24, 0, 0}, {0, 0, 40, 30}, {-2, 0, 0, 0}};
  for (const auto& bands : refused)
    EXPECT_FALSE(keVideoScaler(64, 48, bands, 64, 48).IsReady())
        << bands.top << " " << bands.bottom << " " << bands.left << " " << bands.right;
}

TEST(VideoScaler, OddBandsStayInsideThePlanes) {
  // Run under the address sanitizer this catches reads past a plane's end.
  for (keCropBands bands : {keCropBands{1, 3, 5, 7}, keCropBands{3, 1, 7, 5}, keCropBands{0, 1, 0, 1}}) {
    Source source(48, 32, bands, 100, 100, 100, 100);
    keVideoScaler scaler(48, 32, bands, 48, 32);
    ASSERT_TRUE(scaler.IsReady());
    scaler.Scale(source.Planes());
    EXPECT_LE(MaxDistance(scaler.GetPicture(), 0, 48, 32, 100), 1);
  }
}

}  // namespace
