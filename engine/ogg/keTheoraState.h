// The legacy libtheora encoder states of one stream (<theora/theora.h>):
// the settings (theora_info), the encoder (theora_state, once started) and
// the comment, each cleared when the owner goes.
#pragma once

#include <theora/theora.h>

class keTheoraState {
 public:
  /// theora_info_init and theora_comment_init; the encoder is not started.
  keTheoraState();
  ~keTheoraState();
  keTheoraState(const keTheoraState&) = delete;
  keTheoraState& operator=(const keTheoraState&) = delete;

  /// theora_encode_init with the current info; returns its result (0 when
  /// the encoder accepted the settings). Not while another encoder sets up
  /// (keCodecSetUpLock.h).
  int StartEncoder();
  bool IsEncoding() const { return encoding_; }

  theora_info* Info() { return &info_; }
  theora_state* State() { return &state_; }
  theora_comment* Comment() { return &comment_; }

 private:
  theora_info info_;
  theora_state state_;
  theora_comment comment_;
  bool encoding_ = false;
};
