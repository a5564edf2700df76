#include "keVorbisState.h"

keVorbisState::keVorbisState() : dsp_(), block_() {
  vorbis_info_init(&info_);
  vorbis_comment_init(&comment_);
}

keVorbisState::~keVorbisState() {
  if (analysing_) {
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
  }
  vorbis_comment_clear(&comment_);
  vorbis_info_clear(&info_);
}

bool keVorbisState::StartAnalysis() {
  if (analysing_) return true;
  if (vorbis_analysis_init(&dsp_, &info_) != 0) return false;
  if (vorbis_block_init(&dsp_, &block_) != 0) {
    vorbis_dsp_clear(&dsp_);
    return false;
  }
  analysing_ = true;
  return true;
}
