#include "keVorbisState.h"

#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <mutex>

#include <vorbis/vorbisenc.h>

#include "keCodecSetUpLock.h"

namespace {

/// What vorbis_encode_init, vorbis_analysis_init and vorbis_block_init
/// allocate, with room to spare for the other threads allocating meanwhile:
/// about 320 KiB for 2 channels at 48 kHz, in blocks of a few KiB.
constexpr size_t kAnalysisRoom = 2u << 20;
constexpr size_t kRoomBlock = 4096;

/// What a block's own storage settles at while libvorbis encodes, in bytes
/// per channel and per sample of its long block (about 44 in practice), with
/// room to spare.
constexpr long kBlockStoreBytesPerSample = 64;

/// The input libvorbis's buffer is made for at once, in long blocks: what a
/// write of a decoded block adds to what it keeps, and the three blocks of
/// silence that end the stream.
constexpr int kInputLongBlocks = 4;

/// Whether the heap gives kAnalysisRoom in small blocks now; all given back.
bool HeapHasRoomForAnalysis() {
  void* blocks[kAnalysisRoom / kRoomBlock];
  size_t taken = 0;
  for (; taken < std::size(blocks); ++taken) {
    blocks[taken] = std::malloc(kRoomBlock);
    if (blocks[taken] == nullptr) break;
    // Seen by the compiler as used, so that the allocation is made.
    asm volatile("" : : "r"(blocks[taken]) : "memory");
  }
  const bool room = taken == std::size(blocks);
  while (taken > 0) std::free(blocks[--taken]);
  return room;
}

}  // namespace

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

bool keVorbisState::StartEncoding(int channels, long sampleRate, long maxBitrate, long nominalBitrate,
                                  long minBitrate) {
  // No other encoder's set-up takes the room found before libvorbis has it.
  std::lock_guard<std::mutex> lock(CodecSetUpMutex());
  if (analysing_) return true;
  lackedMemory_ = false;
  if (!HeapHasRoomForAnalysis()) {
    lackedMemory_ = true;
    return false;
  }
  // A refusal leaves the info half set up, and libvorbis cannot set up the
  // same info twice: it is made afresh, so that asking again is safe.
  auto refused = [this] {
    vorbis_info_clear(&info_);
    vorbis_info_init(&info_);
    return false;
  };
  if (vorbis_encode_init(&info_, channels, sampleRate, maxBitrate, nominalBitrate, minBitrate) != 0) return refused();
  if (vorbis_analysis_init(&dsp_, &info_) != 0) return refused();
  if (vorbis_block_init(&dsp_, &block_) != 0) {
    vorbis_dsp_clear(&dsp_);
    return refused();
  }
  // libvorbis grows its input buffer and a block's own storage over the
  // first blocks and at the end of the stream, unchecked too, while the
  // decoders allocate on other threads: both get now, while there is room,
  // the size they settle at. They stay libvorbis's (vorbis_block_clear and
  // vorbis_dsp_clear free them, and it grows them again if ever needed).
  vorbis_analysis_buffer(&dsp_, kInputLongBlocks * vorbis_info_blocksize(&info_, 1));
  const long store = static_cast<long>(channels) * vorbis_info_blocksize(&info_, 1) * kBlockStoreBytesPerSample;
  block_.localstore = std::malloc(static_cast<size_t>(store));
  if (block_.localstore == nullptr) {
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
    lackedMemory_ = true;
    return refused();
  }
  block_.localalloc = store;
  block_.localtop = 0;
  analysing_ = true;
  return true;
}
