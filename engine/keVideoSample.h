// One decoded video frame as separate planes (planar YUV 4:2:0 in this
// system). Borrowed by each listener from OnSample until its Release.
#pragma once

#include <cstdint>

#include "keRefCounted.h"

class keVideoSampleFactory;

/// Plane layouts a video sample can be built with.
enum keVideoFormatCode : int32_t {
  keVideoFormatYuv420 = 1,  ///< Y, U, V; chroma planes a quarter of the luma
  keVideoFormatYuv444 = 2,  ///< Y, U, V of full size
};

class keVideoSample : public keRefCounted {
 public:
  keVideoSample(keVideoSampleFactory* factory, int32_t width, int32_t height, int32_t formatCode);
  ~keVideoSample() override;

  /// Loads a frame. Without `copy` the caller's plane pointers are taken as
  /// they are. With `copy` the planes are copied into buffers the sample
  /// allocates on its first copy. False when memory for them cannot be had:
  /// the sample then holds no picture (and owns no planes).
  bool SetPlanes(uint8_t* const source[4], bool copy);

  bool last = false;
  int64_t start = -1;  ///< 100-ns units
  int64_t end = -1;    ///< 100-ns units
  bool owns = false;
  uint8_t* planes[4] = {nullptr, nullptr, nullptr, nullptr};
  int32_t sizes[4] = {0, 0, 0, 0};
  keVideoSampleFactory* factory;
  int32_t width;
  int32_t height;

 protected:
  void OnZeroRef() override;

 private:
  void FreeOwnPlanes();
};
