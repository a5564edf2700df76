// One decoded audio block: interleaved signed 16-bit PCM with its media times.
// A listener that receives it in OnSample holds one reference and may read the
// data until it calls Release; after that the block belongs to the filter
// again and is overwritten with the next one.
#pragma once

#include <cstdint>

#include "keRefCounted.h"

class keAudioSampleFactory;

class keAudioSample : public keRefCounted {
 public:
  explicit keAudioSample(keAudioSampleFactory* factory);
  ~keAudioSample() override;

  /// Loads a block. Without `copy` the sample points at the caller's bytes
  /// (freeing any own buffer). With `copy` the bytes are copied into the own
  /// buffer, which is replaced by one of three times `length` when too small.
  /// False when memory for that buffer cannot be had: the sample then holds
  /// no block.
  bool SetData(const uint8_t* bytes, int32_t length, bool copy);

  bool last = false;        ///< the final block of the stream
  int64_t start = -1;       ///< block start, 100-ns units
  int64_t end = -1;         ///< block end, 100-ns units
  int32_t capacity = 0;     ///< bytes in the own buffer, 0 without one
  uint8_t* data = nullptr;  ///< the block: own buffer or the caller's memory
  int32_t length = 0;       ///< valid bytes at data
  bool owns = false;        ///< data is the own buffer
  keAudioSampleFactory* factory;

 protected:
  void OnZeroRef() override;

 private:
  void FreeOwnBuffer();
};
