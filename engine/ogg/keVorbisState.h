// The libvorbis encoder states of one stream, cleared in the order libvorbis
// needs (block, analysis, comment, info) when the owner goes.
#pragma once

#include <vorbis/codec.h>

#include <atomic>

class keVorbisState {
 public:
  /// vorbis_info_init and vorbis_comment_init.
  keVorbisState();
  ~keVorbisState();
  keVorbisState(const keVorbisState&) = delete;
  keVorbisState& operator=(const keVorbisState&) = delete;

  /// vorbis_encode_init with these settings (bit/s), then vorbis_analysis_init
  /// and vorbis_block_init. False when libvorbis refuses, or when the heap
  /// has not the room they need (LackedMemory): libvorbis does not check its
  /// allocations, and set up without room it writes through a null pointer.
  /// One set-up at a time (keCodecSetUpLock.h), on any thread.
  bool StartEncoding(int channels, long sampleRate, long maxBitrate, long nominalBitrate, long minBitrate);
  bool IsAnalysing() const { return analysing_.load(); }
  /// The last StartEncoding found too little memory to start.
  bool LackedMemory() const { return lackedMemory_.load(); }

  vorbis_info* Info() { return &info_; }
  vorbis_comment* Comment() { return &comment_; }
  vorbis_dsp_state* Dsp() { return &dsp_; }
  vorbis_block* Block() { return &block_; }

 private:
  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  // Set up before the stream or on its thread, whichever comes first.
  std::atomic<bool> analysing_{false};
  std::atomic<bool> lackedMemory_{false};
};
