// Tells a decoder's want of memory from damage in the source. Some decoders
// (H.264 among them) report a frame buffer or a table they could not have as
// damaged data, or lose the frame without a word, so that a shortage would
// pass for damage and the encode would lose pictures.
#pragma once

#include <atomic>
#include <cstddef>

extern "C" {
#include <libavcodec/avcodec.h>
}

class DecoderMemoryWatch {
 public:
  /// From now on `decoder` takes its frame buffers through this watch, which
  /// must outlive the decoder's use (the decoder's `opaque` is the watch's).
  /// `frameBytes`: about what one more decoded frame takes. With a null
  /// decoder (one that could not be opened) it learns only that size.
  void Watch(AVCodecContext* decoder, size_t frameBytes);
  /// Whether memory that ran short explains what a decode call returned:
  /// ENOMEM; a frame buffer the decoder could not have (whatever it
  /// returned); or any other failure while there is no room for one more
  /// frame.
  bool ExplainsResult(int result) const;

 private:
  static int GetBuffer(AVCodecContext* decoder, AVFrame* frame, int flags);

  std::atomic<bool> frameBufferMissed_{false};
  size_t frameBytes_ = 0;
};
