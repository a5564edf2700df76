#include "OggStreamStateWrapper.h"

#include <new>

#include "keOggPage.h"

namespace {

/// A page with only the end-of-stream flag, of no packet: what ends a stream
/// whose own last page was lost.
keOggPage* MakeEmptyEndPage(int32_t serial) {
  unsigned char header[27] = {'O', 'g', 'g', 'S', 0, 0x04};
  for (int i = 6; i < 14; ++i) header[i] = 0xff;  // granule position -1: no packet ends here
  for (int i = 0; i < 4; ++i) header[14 + i] = static_cast<unsigned char>(static_cast<uint32_t>(serial) >> (8 * i));
  static unsigned char nothing = 0;
  ogg_page page{header, sizeof header, &nothing, 0};
  return new keOggPage(page);
}

}  // namespace

OggStreamStateWrapper::OggStreamStateWrapper(const char* name, int32_t serial)
    : name_(name ? name : ""),
      serial_(serial),
      scratch_(),
      mutex_(false, "Stream State Wrapper Mutex"),
      spareEnd_(MakeEmptyEndPage(serial)),
      pages_(name_.c_str()),
      log_(keCreateLog((name_ + "OggStreamStateWrapper").c_str())) {
  // ogg_stream_init fails only when it cannot allocate: nothing could be
  // encoded then.
  if (ogg_stream_init(&state_, serial) != 0) {
    delete spareEnd_;
    throw std::bad_alloc();
  }
}

OggStreamStateWrapper::~OggStreamStateWrapper() {
  {
    keMutexLock lock(mutex_);
    for (keOggPage* page : headerPages_) delete page;
    headerPages_.clear();
    delete spareEnd_;
    ogg_stream_clear(&state_);
  }
  delete log_;
  mutex_.Close();
}

void OggStreamStateWrapper::PacketIn(ogg_packet* packet, int32_t units, bool isKey) {
  if (packet == nullptr) return;
  keMutexLock lock(mutex_);
  try {
    if (ogg_stream_packetin(&state_, packet) != 0) {
      pageLost_ = true;
      if (failure_.empty()) failure_ = "the " + name_ + " stream refused a packet (Ogg framing failed)";
      log_->Log("ogg_stream_packetin failed");
    } else {
      if (isKey && !keyPending_) {
        keyPending_ = true;
        keyPosition_ = unitsIn_;  // the position of this packet's first unit
      }
      unitsIn_ += units;
      pendingUnits_.push_back(units);
      while (ogg_stream_pageout(&state_, &scratch_) != 0) {
        const bool end = ogg_page_eos(&scratch_) != 0;
        keOggPage* page = MakePageLocked();
        try {
          pages_.Put(page);
        } catch (const std::bad_alloc&) {
          delete page;
          throw;
        }
        if (end) endQueued_ = true;
      }
    }
  } catch (const std::bad_alloc&) {
    pageLost_ = true;  // told through HasFailed: nothing here may allocate
  }
  // The manager waits for the end: it comes whatever was lost before it.
  if (packet->e_o_s && !endQueued_ && spareEnd_) {
    pages_.PutLast(spareEnd_);
    spareEnd_ = nullptr;
    endQueued_ = true;
  }
}

void OggStreamStateWrapper::HeaderPacketIn(ogg_packet* packet) {
  if (packet == nullptr) return;
  keMutexLock lock(mutex_);
  if (ogg_stream_packetin(&state_, packet) != 0) {
    if (failure_.empty()) failure_ = "the " + name_ + " stream refused a header packet (Ogg framing failed)";
    log_->Log("ogg_stream_packetin failed on a header packet");
    return;
  }
  pendingUnits_.push_back(0);
  while (ogg_stream_flush(&state_, &scratch_) != 0) headerPages_.push_back(MakePageLocked());
}

keOggPage* OggStreamStateWrapper::MakePageLocked() {
  auto* page = new keOggPage(scratch_);
  int64_t units = 0;
  for (int completed = ogg_page_packets(&scratch_); completed > 0 && !pendingUnits_.empty(); --completed) {
    units += pendingUnits_.front();
    pendingUnits_.pop_front();
  }
  page->SetUnitCount(static_cast<int32_t>(units));
  if (keyPending_) {
    page->SetKey(keyPosition_);
    keyPending_ = false;
  }
  return page;
}

bool OggStreamStateWrapper::HasFailed() {
  keMutexLock lock(mutex_);
  return pageLost_ || !failure_.empty();
}

std::string OggStreamStateWrapper::GetFailureReason() {
  keMutexLock lock(mutex_);
  if (failure_.empty() && pageLost_) return "there is not enough memory to make the pages of its " + name_ + " stream";
  return failure_;
}

int32_t OggStreamStateWrapper::GetHeaderPageCount() {
  keMutexLock lock(mutex_);
  return static_cast<int32_t>(headerPages_.size());
}

keOggPage* OggStreamStateWrapper::GetHeaderPage(int32_t i) {
  keMutexLock lock(mutex_);
  if (i < 0 || i >= static_cast<int32_t>(headerPages_.size())) return nullptr;
  return headerPages_[static_cast<size_t>(i)];
}

keOggPage* OggStreamStateWrapper::TakePage() {
  // Wait outside the lock: the producer needs it to queue the page.
  for (;;) {
    pages_.WaitForPage();
    keMutexLock lock(mutex_);
    if (keOggPage* page = pages_.TryTake()) return page;
  }
}

keOggPage* OggStreamStateWrapper::PeekPage() {
  for (;;) {
    pages_.WaitForPage();
    keMutexLock lock(mutex_);
    if (keOggPage* page = pages_.TryPeek()) return page;
  }
}
