#include "keTheoraState.h"

#include "keCodecSetUpLock.h"

keTheoraState::keTheoraState() : state_() {
  theora_info_init(&info_);
  theora_comment_init(&comment_);
}

keTheoraState::~keTheoraState() {
  if (encoding_) theora_clear(&state_);
  theora_comment_clear(&comment_);
  theora_info_clear(&info_);
}

int keTheoraState::StartEncoder() {
  if (encoding_) return 0;
  std::lock_guard<std::mutex> lock(CodecSetUpMutex());
  int rc = theora_encode_init(&state_, &info_);
  encoding_ = rc == 0;
  return rc;
}
