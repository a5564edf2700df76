// Converts one picture of the video filter's accepted subtype into planar
// YUV 4:2:0 in one buffer: Y (width × height), then U and V (width/2 ×
// height/2 each). Chroma is taken from the even rows of packed 4:2:2 sources
// and averaged over 2 × 2 pixels for 4:4:4 and RGB sources.
//
// Source pictures have rows without padding; RGB rows are bottom-up, every
// other layout top row first (MediaGuids.h). Pictures are expected at even
// sizes (the graph delivers them so); at odd sizes the last column and row
// get luma only where the source has it, and chroma covers whole 2 × 2 blocks.
// A buffer too small for the picture is not read beyond its end.
#pragma once

#include <cstdint>

#include "MediaSample.h"
#include "platform/keGuid.h"

class keYuvFrameConverter {
 public:
  /// Throws std::bad_alloc, as new does, when the buffer cannot be had.
  keYuvFrameConverter(int32_t width, int32_t height, const keGuid& subtype);
  ~keYuvFrameConverter();
  keYuvFrameConverter(const keYuvFrameConverter&) = delete;
  keYuvFrameConverter& operator=(const keYuvFrameConverter&) = delete;

  /// Fills the buffer from the sample's data (GetSize bytes). False only when
  /// the memory an RGB picture's conversion needs cannot be had.
  bool ConvertSample(MediaSample* sample);
  /// Converts `size` bytes at `data` (what ConvertSample does with a sample).
  bool Convert(const uint8_t* data, int32_t size);

  uint8_t* GetBuffer() const { return buffer; }
  uint8_t* GetY() const { return yPlane; }
  uint8_t* GetU() const { return uPlane; }
  uint8_t* GetV() const { return vPlane; }
  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  /// Bytes of the planar buffer.
  int32_t GetBufferSize() const { return width * height + ((width * height) >> 1); }

 private:
  void CopyPlanar(const uint8_t* data, int32_t size, bool vFirst);
  void ConvertPacked422(const uint8_t* data, int32_t size, int yOffset, int uOffset, int vOffset);
  /// 2 × 2 reduction of packed V U Y A rows (top row first).
  void ReducePackedVuya(const uint8_t* vuya, int64_t size);
  bool RgbToVuya(const uint8_t* data, int32_t size, int bytesPerPixel);

  int32_t width;
  int32_t height;
  keGuid subtype;
  int32_t pictureWidth;
  int32_t pictureHeight;
  int32_t yLine;
  int32_t uLine;
  int32_t chromaHeight;
  int32_t vLine;
  uint8_t* yPlane;
  uint8_t* uPlane;
  uint8_t* vPlane;
  uint8_t* buffer;
  uint8_t* rgb32Scratch = nullptr;
  int64_t rgb32ScratchSize = 0;
  uint8_t* rgb24Scratch = nullptr;
  int64_t rgb24ScratchSize = 0;
};

/// One pixel's R, G, B as the packed V, U, Y bytes the reduction reads.
void keRgbToVuy(int r, int g, int b, uint8_t* v, uint8_t* u, uint8_t* y);
