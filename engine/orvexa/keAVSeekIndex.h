// A profile's seek index: where the key pages of its interleaved Ogg data lie
// and at what time, so that the player can seek.
//
// The stream manager adds an entry for every key page while pages flow and
// closes the index when its thread ends; closing thins the entries and wakes
// WaitClosed. The output thread then asks for the size and writes the block:
//
//   "AVSeekIndex" 0x00, u32 1, u32 0, u32 entry count,
//   then per entry: u64 offset + base, u32 serial, u64 key position, u64 ms
//
// all big-endian: 24 + 28 bytes per entry.
#pragma once

#include <cstdint>
#include <vector>

#include "keEvent.h"
#include "keLog.h"
#include "keMutex.h"
#include "keSeekEntry.h"
#include "ogg/keStreamPageObserver.h"

class keOutputStream;

class keAVSeekIndex : public keStreamPageObserver {
 public:
  keAVSeekIndex();
  ~keAVSeekIndex() override;
  keAVSeekIndex(const keAVSeekIndex&) = delete;
  keAVSeekIndex& operator=(const keAVSeekIndex&) = delete;

  void AddEntry(int64_t offset, uint32_t serial, int64_t keyPosition, int64_t timeMs) override;
  /// Thins the entries: of every run of consecutive entries of one serial only
  /// the first and the last stay, and of the list's final run only its first.
  /// Then signals the closed event. A second call does nothing.
  void Close() override;
  /// Blocks without a time-out until Close.
  void WaitClosed();
  bool IsClosed();

  /// Bytes that Write produces: 24 + 28 per entry.
  int64_t GetSize();
  /// Writes the block, the head in one Write and each entry in one Write,
  /// with `base` added to every offset.
  void Write(keOutputStream* out, uint32_t base);

  std::vector<keSeekEntry> GetEntries();

  /// Bytes of the block before the first entry.
  static constexpr int32_t kHeadSize = 24;

 private:
  void ThinLocked();

  std::vector<keSeekEntry> entries_;
  keMutex mutex_;
  keEvent closedEvent_;
  bool closed_ = false;
  keLog* log_;
};
