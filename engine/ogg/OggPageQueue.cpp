#include "OggPageQueue.h"

#include "keOggPage.h"

#include <utility>

OggPageQueue::OggPageQueue(const char* streamName)
    : newPage_(false, "newPageEvent"),
      mutex_(false, "Page Queue Mutex"),
      log_(keCreateLog((std::string(streamName ? streamName : "") + "OggPageQueue").c_str())) {}

OggPageQueue::~OggPageQueue() {
  {
    keMutexLock lock(mutex_);
    for (keOggPage* page : pages_) delete page;
    pages_.clear();
    delete last_;
  }
  newPage_.Close();
  mutex_.Close();
  delete log_;
}

void OggPageQueue::Put(keOggPage* page) {
  if (page == nullptr) return;
  keMutexLock lock(mutex_);
  pages_.push_back(page);
  newPage_.Set();
}

void OggPageQueue::PutLast(keOggPage* page) noexcept {
  if (page == nullptr) return;
  keMutexLock lock(mutex_);
  delete last_;
  last_ = page;
  newPage_.Set();
}

keOggPage* OggPageQueue::Take() {
  for (;;) {
    WaitForPage();
    if (keOggPage* page = TryTake()) return page;
  }
}

keOggPage* OggPageQueue::Peek() {
  for (;;) {
    WaitForPage();
    if (keOggPage* page = TryPeek()) return page;
  }
}

keOggPage* OggPageQueue::TryTake() {
  keMutexLock lock(mutex_);
  keOggPage* page = nullptr;
  if (!pages_.empty()) {
    page = pages_.front();
    pages_.pop_front();
  } else {
    std::swap(page, last_);
  }
  if (pages_.empty() && last_ == nullptr) newPage_.Reset();
  return page;
}

keOggPage* OggPageQueue::TryPeek() {
  keMutexLock lock(mutex_);
  return pages_.empty() ? last_ : pages_.front();
}

void OggPageQueue::WaitForPage() { newPage_.Wait(keINFINITE); }

size_t OggPageQueue::GetCount() {
  keMutexLock lock(mutex_);
  return pages_.size() + (last_ ? 1 : 0);
}
