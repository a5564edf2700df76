#include "keAVSeekIndex.h"

#include "keBytes.h"
#include "keOutputStream.h"

namespace {
constexpr char kMagic[] = "AVSeekIndex";  // written without its NUL, then one 0x00
constexpr uint32_t kFirstConstant = 1;
constexpr uint32_t kSecondConstant = 0;
}  // namespace

keAVSeekIndex::keAVSeekIndex()
    : mutex_(false, "Index Mutex"),
      closedEvent_(false, "streamClosedEvent AVSeekIndex"),
      log_(keCreateLog("keAVSeekIndex")) {}

keAVSeekIndex::~keAVSeekIndex() {
  closedEvent_.Close();
  mutex_.Close();
  delete log_;
}

void keAVSeekIndex::AddEntry(int64_t offset, uint32_t serial, int64_t keyPosition, int64_t timeMs) {
  keMutexLock lock(mutex_);
  entries_.push_back(keSeekEntry{offset, serial, keyPosition, timeMs});
}

void keAVSeekIndex::Close() {
  {
    keMutexLock lock(mutex_);
    if (closed_) return;
    ThinLocked();
    closed_ = true;
  }
  closedEvent_.Set();
}

void keAVSeekIndex::ThinLocked() {
  std::vector<keSeekEntry> kept;
  kept.reserve(entries_.size());
  int run = 0;
  for (const keSeekEntry& entry : entries_) {
    if (kept.empty() || kept.back().serial != entry.serial) {
      run = 1;
      kept.push_back(entry);
    } else if (++run > 2) {
      kept.back() = entry;  // the run's middle entry gives way to its latest
    } else {
      kept.push_back(entry);
    }
  }
  if (run > 1) kept.pop_back();
  entries_.swap(kept);
}

void keAVSeekIndex::WaitClosed() { closedEvent_.Wait(keINFINITE); }

bool keAVSeekIndex::IsClosed() {
  keMutexLock lock(mutex_);
  return closed_;
}

int64_t keAVSeekIndex::GetSize() {
  keMutexLock lock(mutex_);
  return kHeadSize + keSeekEntry::kSerialisedSize * static_cast<int64_t>(entries_.size());
}

void keAVSeekIndex::Write(keOutputStream* out, uint32_t base) {
  keMutexLock lock(mutex_);
  uint8_t head[kHeadSize] = {};
  uint32_t pos = 0;
  PutBytes(head, &pos, kMagic, sizeof kMagic);  // the terminating NUL is the 0x00 byte
  PutU32(kFirstConstant, head, &pos);
  PutU32(kSecondConstant, head, &pos);
  PutU32(static_cast<uint32_t>(entries_.size()), head, &pos);
  out->Write(head, kHeadSize);

  for (const keSeekEntry& entry : entries_) {
    uint8_t bytes[keSeekEntry::kSerialisedSize];
    pos = 0;
    PutU64(static_cast<uint64_t>(entry.offset) + base, bytes, &pos);
    PutU32(entry.serial, bytes, &pos);
    PutU64(static_cast<uint64_t>(entry.keyPosition), bytes, &pos);
    PutU64(static_cast<uint64_t>(entry.timeMs), bytes, &pos);
    out->Write(bytes, keSeekEntry::kSerialisedSize);
  }
}

std::vector<keSeekEntry> keAVSeekIndex::GetEntries() {
  keMutexLock lock(mutex_);
  return entries_;
}
