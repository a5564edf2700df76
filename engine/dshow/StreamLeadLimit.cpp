#include "StreamLeadLimit.h"

#include <algorithm>

void StreamLeadLimit::Reset(int64_t lead, size_t streams) {
  std::lock_guard<std::mutex> lock(mutex_);
  lead_ = lead;
  slots_.assign(streams, Slot());
  joined_ = 0;
}

int StreamLeadLimit::Join() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (joined_ >= slots_.size()) return -1;
  return static_cast<int>(joined_++);
}

bool StreamLeadLimit::WithinLeadLocked(int slot, int64_t start) const {
  for (size_t other = 0; other < slots_.size(); ++other) {
    if (static_cast<int>(other) == slot || !slots_[other].active) continue;
    if (start - slots_[other].next > lead_) return false;
  }
  return true;
}

bool StreamLeadLimit::WaitToDeliver(int slot, int64_t start, const std::atomic<bool>& stopRequested) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return !stopRequested.load();
  slots_[static_cast<size_t>(slot)].next = start;
  if (lead_ <= 0) {
    changed_.notify_all();  // a stream waiting for the others to go on
    return !stopRequested.load();
  }
  // Moving on may be what another stream waits for.
  changed_.notify_all();
  changed_.wait(lock, [&] { return stopRequested.load() || WithinLeadLocked(slot, start); });
  return !stopRequested.load();
}

void StreamLeadLimit::Leave(int slot, int64_t end) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return;
    slots_[static_cast<size_t>(slot)].active = false;
    slots_[static_cast<size_t>(slot)].next = end;
  }
  changed_.notify_all();
}

int64_t StreamLeadLimit::FurthestOtherLocked(int slot, bool* othersLeft) const {
  int64_t furthest = 0;
  *othersLeft = true;
  for (size_t other = 0; other < slots_.size(); ++other) {
    if (static_cast<int>(other) == slot) continue;
    if (slots_[other].active && !slots_[other].dataEnded) *othersLeft = false;
    if (slots_[other].next > furthest) furthest = slots_[other].next;
  }
  return furthest;
}

int64_t StreamLeadLimit::WaitForOthers(int slot, int64_t reached, const std::atomic<bool>& stopRequested,
                                       bool* othersLeft) {
  *othersLeft = true;
  std::unique_lock<std::mutex> lock(mutex_);
  if (slot < 0 || static_cast<size_t>(slot) >= slots_.size()) return reached;
  slots_[static_cast<size_t>(slot)].next = reached;
  slots_[static_cast<size_t>(slot)].dataEnded = true;
  changed_.notify_all();
  int64_t furthest = reached;
  changed_.wait(lock, [&] {
    if (stopRequested.load()) return true;
    furthest = FurthestOtherLocked(slot, othersLeft);
    return *othersLeft || furthest > reached;
  });
  return std::max(furthest, reached);
}

void StreamLeadLimit::WakeAll() {
  // Taking the lock orders this after a waiter's look at its flag, so the
  // wake cannot fall between that look and its wait.
  { std::lock_guard<std::mutex> lock(mutex_); }
  changed_.notify_all();
}
