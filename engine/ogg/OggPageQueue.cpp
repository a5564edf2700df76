#include "OggPageQueue.h"

#include "keOggPage.h"

OggPageQueue::OggPageQueue(const char* streamName)
    : newPage_(false, "newPageEvent"),
      mutex_(false, "Page Queue Mutex"),
      log_(keCreateLog((std::string(streamName ? streamName : "") + "OggPageQueue").c_str())) {}

OggPageQueue::~OggPageQueue() {
  {
    keMutexLock lock(mutex_);
    for (keOggPage* page : pages_) delete page;
    pages_.clear();
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
  if (pages_.empty()) return nullptr;
  keOggPage* page = pages_.front();
  pages_.pop_front();
  if (pages_.empty()) newPage_.Reset();
  return page;
}

keOggPage* OggPageQueue::TryPeek() {
  keMutexLock lock(mutex_);
  return pages_.empty() ? nullptr : pages_.front();
}

void OggPageQueue::WaitForPage() { newPage_.Wait(keINFINITE); }

size_t OggPageQueue::GetCount() {
  keMutexLock lock(mutex_);
  return pages_.size();
}
