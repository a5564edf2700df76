#include "keYuvFrameConverter.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "MediaGuids.h"
#include "keAlloc.h"

namespace {

int32_t Clamp255(int32_t value) { return std::min(255, std::max(0, value)); }

}  // namespace

void keRgbToVuy(int r, int g, int b, uint8_t* v, uint8_t* u, uint8_t* y) {
  const int32_t y16 = 19596 * r + 38470 * g + 7472 * b;
  *v = static_cast<uint8_t>(Clamp255(128 + (112 * (r * 65536 - y16)) / 10061022));
  *u = static_cast<uint8_t>(Clamp255(128 + (112 * (b * 65536 - y16)) / 12716213));
  *y = static_cast<uint8_t>(y16 >> 16);
}

keYuvFrameConverter::keYuvFrameConverter(int32_t w, int32_t h, const keGuid& type)
    : width(w),
      height(h),
      subtype(type),
      pictureWidth(w),
      pictureHeight(h),
      yLine(w),
      uLine(w / 2),
      chromaHeight(h / 2),
      vLine(w / 2) {
  const int32_t area = width * height;
  buffer = static_cast<uint8_t*>(keAlloc(static_cast<size_t>(area + (area >> 1)) + 1));
  if (!buffer) throw std::bad_alloc();
  std::memset(buffer, 0, static_cast<size_t>(area + (area >> 1)) + 1);
  yPlane = buffer;
  uPlane = buffer + area;
  vPlane = buffer + area + (area >> 2);
}

keYuvFrameConverter::~keYuvFrameConverter() {
  keFree(buffer);
  keFree(rgb32Scratch);
  keFree(rgb24Scratch);
}

bool keYuvFrameConverter::ConvertSample(MediaSample* sample) {
  uint8_t* data = nullptr;
  sample->GetPointer(&data);
  return Convert(data, sample->GetSize());
}

bool keYuvFrameConverter::Convert(const uint8_t* data, int32_t size) {
  if (!data || size <= 0 || width <= 0 || height <= 0) return true;
  if (subtype == MEDIASUBTYPE_YV12) {
    CopyPlanar(data, size, true);
  } else if (subtype == MEDIASUBTYPE_IYUV) {
    CopyPlanar(data, size, false);
  } else if (subtype == MEDIASUBTYPE_YUY2) {
    ConvertPacked422(data, size, 0, 1, 3);
  } else if (subtype == MEDIASUBTYPE_UYVY) {
    ConvertPacked422(data, size, 1, 0, 2);
  } else if (subtype == MEDIASUBTYPE_YVYU) {
    ConvertPacked422(data, size, 0, 3, 1);
  } else if (subtype == MEDIASUBTYPE_AYUV) {
    ReducePackedVuya(data, size);
  } else if (subtype == MEDIASUBTYPE_RGB32) {
    return RgbToVuya(data, size, 4);
  } else if (subtype == MEDIASUBTYPE_RGB24) {
    return RgbToVuya(data, size, 3);
  }
  return true;
}

void keYuvFrameConverter::CopyPlanar(const uint8_t* data, int32_t size, bool vFirst) {
  const int64_t luma = static_cast<int64_t>(width) * height;
  const int64_t chroma = static_cast<int64_t>(uLine) * chromaHeight;
  if (size < luma) return;
  std::memcpy(yPlane, data, static_cast<size_t>(luma));
  if (height < 2 || size < luma + 2 * chroma) return;
  uint8_t* first = vFirst ? vPlane : uPlane;
  uint8_t* second = vFirst ? uPlane : vPlane;
  std::memcpy(first, data + luma, static_cast<size_t>(chroma));
  std::memcpy(second, data + luma + chroma, static_cast<size_t>(chroma));
}

void keYuvFrameConverter::ConvertPacked422(const uint8_t* data, int32_t size, int yOffset, int uOffset, int vOffset) {
  if (height < 2) return;
  const int pairs = width / 2;
  const int64_t rowBytes = static_cast<int64_t>(width) * 2;
  const int rowPairs = std::min<int64_t>(height / 2, size / std::max<int64_t>(1, 2 * rowBytes));
  for (int pair = 0; pair < rowPairs; ++pair) {
    const uint8_t* even = data + 2 * pair * rowBytes;
    const uint8_t* odd = even + rowBytes;
    uint8_t* yEven = yPlane + static_cast<int64_t>(2 * pair) * yLine;
    uint8_t* yOdd = yEven + yLine;
    uint8_t* u = uPlane + static_cast<int64_t>(pair) * uLine;
    uint8_t* v = vPlane + static_cast<int64_t>(pair) * vLine;
    for (int x = 0; x < pairs; ++x) {
      const uint8_t* a = even + 4 * x;
      const uint8_t* b = odd + 4 * x;
      yEven[2 * x] = a[yOffset];
      yEven[2 * x + 1] = a[yOffset + 2];
      u[x] = a[uOffset];
      v[x] = a[vOffset];
      yOdd[2 * x] = b[yOffset];
      yOdd[2 * x + 1] = b[yOffset + 2];
    }
  }
}

void keYuvFrameConverter::ReducePackedVuya(const uint8_t* vuya, int64_t size) {
  const int64_t rowBytes = static_cast<int64_t>(width) * 4;
  const int rows = static_cast<int>(std::min<int64_t>(height, size / rowBytes));
  for (int row = 0; row < rows; ++row) {
    const uint8_t* source = vuya + row * rowBytes;
    uint8_t* y = yPlane + static_cast<int64_t>(row) * yLine;
    for (int x = 0; x < width; ++x) y[x] = source[4 * x + 2];
  }
  for (int pair = 0; pair < chromaHeight && 2 * pair + 1 < rows; ++pair) {
    const uint8_t* top = vuya + 2 * pair * rowBytes;
    const uint8_t* bottom = top + rowBytes;
    uint8_t* u = uPlane + static_cast<int64_t>(pair) * uLine;
    uint8_t* v = vPlane + static_cast<int64_t>(pair) * vLine;
    for (int x = 0; x < uLine; ++x) {
      const uint8_t* p = top + 8 * x;
      const uint8_t* q = bottom + 8 * x;
      v[x] = static_cast<uint8_t>((p[0] + p[4] + q[0] + q[4]) >> 2);
      u[x] = static_cast<uint8_t>((p[1] + p[5] + q[1] + q[5]) >> 2);
    }
  }
}

bool keYuvFrameConverter::RgbToVuya(const uint8_t* data, int32_t size, int bytesPerPixel) {
  // The scratch holds the picture as packed V U Y A rows, top row first; it
  // is made once, at least a whole picture large so that the reduction never
  // reads past it whatever the buffer's size.
  uint8_t*& scratch = bytesPerPixel == 4 ? rgb32Scratch : rgb24Scratch;
  int64_t& scratchSize = bytesPerPixel == 4 ? rgb32ScratchSize : rgb24ScratchSize;
  const int64_t pixelsInBuffer = bytesPerPixel == 4 ? size / 4 : size / 3;
  if (!scratch) {
    scratchSize = std::max<int64_t>(4 * pixelsInBuffer, 4 * static_cast<int64_t>(width) * height);
    scratch = static_cast<uint8_t*>(keAlloc(static_cast<size_t>(scratchSize)));
    if (!scratch) return false;
    std::memset(scratch, 0, static_cast<size_t>(scratchSize));
  }
  const int64_t sourceRow = static_cast<int64_t>(width) * bytesPerPixel;
  // RGB24 walks the first 3·n bytes (whole pixels), RGB32 the whole buffer;
  // rows are taken from the end, so the last row in the buffer is the top.
  const int64_t used = bytesPerPixel == 4 ? size : 3 * pixelsInBuffer;
  const int64_t rows = std::min<int64_t>({height, used / sourceRow, scratchSize / (4 * static_cast<int64_t>(width))});
  for (int64_t row = 0; row < rows; ++row) {
    const uint8_t* source = data + used - (row + 1) * sourceRow;
    uint8_t* target = scratch + row * 4 * width;
    for (int x = 0; x < width; ++x) {
      const uint8_t* pixel = source + static_cast<int64_t>(x) * bytesPerPixel;
      keRgbToVuy(pixel[2], pixel[1], pixel[0], &target[4 * x], &target[4 * x + 1], &target[4 * x + 2]);
      target[4 * x + 3] = bytesPerPixel == 4 ? pixel[3] : 255;
    }
  }
  ReducePackedVuya(scratch, scratchSize);
  return true;
}
