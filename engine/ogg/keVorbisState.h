// The libvorbis encoder states of one stream, cleared in the order libvorbis
// needs (block, analysis, comment, info) when the owner goes.
#pragma once

#include <vorbis/codec.h>

class keVorbisState {
 public:
  /// vorbis_info_init and vorbis_comment_init.
  keVorbisState();
  ~keVorbisState();
  keVorbisState(const keVorbisState&) = delete;
  keVorbisState& operator=(const keVorbisState&) = delete;

  /// vorbis_analysis_init and vorbis_block_init, once the info has been set
  /// up for encoding. False when libvorbis refuses.
  bool StartAnalysis();
  bool IsAnalysing() const { return analysing_; }

  vorbis_info* Info() { return &info_; }
  vorbis_comment* Comment() { return &comment_; }
  vorbis_dsp_state* Dsp() { return &dsp_; }
  vorbis_block* Block() { return &block_; }

 private:
  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  bool analysing_ = false;
};
