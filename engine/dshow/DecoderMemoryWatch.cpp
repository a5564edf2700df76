#include "DecoderMemoryWatch.h"

#include <algorithm>
#include <cerrno>

#include "platform/keMemoryRoom.h"

namespace {

/// The least room a decoder's next step is taken to need: its tables and
/// sound blocks, where a frame is smaller.
constexpr size_t kLeastRoom = 1 << 20;

}  // namespace

void DecoderMemoryWatch::Watch(AVCodecContext* decoder, size_t frameBytes) {
  frameBytes_ = std::max(frameBytes, kLeastRoom);
  if (!decoder) return;
  decoder->opaque = this;
  decoder->get_buffer2 = &DecoderMemoryWatch::GetBuffer;
}

bool DecoderMemoryWatch::ExplainsResult(int result) const {
  if (frameBufferMissed_.load()) return true;
  if (result >= 0 || result == AVERROR(EAGAIN) || result == AVERROR_EOF) return false;
  return result == AVERROR(ENOMEM) || kePlatform::MemoryRunsShort(frameBytes_);
}

int DecoderMemoryWatch::GetBuffer(AVCodecContext* decoder, AVFrame* frame, int flags) {
  const int result = avcodec_default_get_buffer2(decoder, frame, flags);
  if (result == AVERROR(ENOMEM)) static_cast<DecoderMemoryWatch*>(decoder->opaque)->frameBufferMissed_ = true;
  return result;
}
