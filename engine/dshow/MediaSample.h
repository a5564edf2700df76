// One media sample as a source hands it to a renderer: a buffer of GetSize()
// bytes, of which GetActualDataLength() hold data, and the stream times of its
// start and end in 100-ns units. The renderer borrows it for the length of one
// Receive / DoRenderSample call; the source reuses it for the next sample.
#pragma once

#include <cstdint>
#include <vector>

#include "MediaResult.h"

class MediaSample {
 public:
  MediaSample() = default;
  /// A sample with a buffer of `size` bytes and no data yet.
  explicit MediaSample(int32_t size) { Allocate(size); }

  /// Start and end of the sample in 100-ns units. MG_E_NO_TIME (and both 0)
  /// when the times were never set.
  HRESULT GetTime(int64_t* start, int64_t* end) const;
  /// The buffer; valid until the sample is refilled or destroyed.
  HRESULT GetPointer(uint8_t** data);
  /// Bytes of data in the buffer.
  int32_t GetActualDataLength() const { return actualLength_; }
  /// Bytes of the whole buffer.
  int32_t GetSize() const { return static_cast<int32_t>(buffer_.size()); }

  // The filling side.
  /// Makes the buffer exactly `size` bytes (contents unspecified, length 0).
  void Allocate(int32_t size);
  /// MG_E_BUFFER_TOO_SMALL when `length` exceeds the buffer, E_INVALIDARG below 0.
  HRESULT SetActualDataLength(int32_t length);
  void SetTime(int64_t start, int64_t end);
  uint8_t* Data() { return buffer_.data(); }

 private:
  std::vector<uint8_t> buffer_;
  int32_t actualLength_ = 0;
  bool timeSet_ = false;
  int64_t start_ = 0;
  int64_t end_ = 0;
};
