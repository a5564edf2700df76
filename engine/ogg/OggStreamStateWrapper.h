// One encoder's Ogg logical stream: packets in on the encoder's thread, pages
// out on the stream manager's thread.
//
// Header packets are flushed into pages of their own, kept apart from the data
// pages so that the manager can write every stream's headers first. Data
// pages go to a page queue as libogg completes them. Each page carries the
// units (samples or frames) of the packets that complete on it, so adding up
// the pages taken gives a stream's exact time. The first page completed after
// a key packet went in carries the key flag with the position of that
// packet's first unit: no byte of the key packet lies before that page, so a
// player that starts reading there finds the whole key packet.
//
// An encoder ends its stream with a packet whose e_o_s is set (an empty one
// will do when it has failed); until it does, TakePage and PeekPage wait.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <ogg/ogg.h>

#include "OggPageQueue.h"
#include "keLog.h"
#include "keMutex.h"
#include "keOggStreamInterfaces.h"

class OggStreamStateWrapper : public keOggPacketSink, public keOggPageSource {
 public:
  /// `name` labels the log ("Vorbis", "Theora", ...); `serial` is the
  /// logical stream's serial number.
  OggStreamStateWrapper(const char* name, int32_t serial);
  ~OggStreamStateWrapper() override;
  OggStreamStateWrapper(const OggStreamStateWrapper&) = delete;
  OggStreamStateWrapper& operator=(const OggStreamStateWrapper&) = delete;

  // Producer side (the encoder's thread).
  void PacketIn(ogg_packet* packet, int32_t units, bool isKey) override;
  void HeaderPacketIn(ogg_packet* packet) override;

  // Page-source side (the stream manager's thread).
  int32_t GetHeaderPageCount() override;
  /// Null when `i` is out of range.
  keOggPage* GetHeaderPage(int32_t i) override;
  keOggPage* TakePage() override;
  keOggPage* PeekPage() override;

  /// True once libogg refused a packet, or a page could not be made or
  /// queued for want of memory: the stream lacks data from then on. Its end
  /// still reaches the manager: a packet with e_o_s always ends the pages,
  /// with a page of no data set aside for that when its own is lost.
  bool HasFailed();
  std::string GetFailureReason();

  int32_t GetSerial() const { return serial_; }
  const std::string& GetName() const { return name_; }
  /// Data pages waiting for the manager.
  size_t GetQueuedPageCount() { return pages_.GetCount(); }

 private:
  /// Copies the scratch page into a keOggPage carrying the units of the
  /// packets completed on it and any pending key. The caller holds mutex_.
  keOggPage* MakePageLocked();

  std::string name_;
  int32_t serial_;
  ogg_stream_state state_;
  ogg_page scratch_;
  bool keyPending_ = false;
  int64_t keyPosition_ = 0;
  int64_t unitsIn_ = 0;  ///< units of every data packet so far
  /// Units of each packet given to libogg and not yet completed on a page,
  /// oldest first (0 for header packets).
  std::deque<int32_t> pendingUnits_;
  keMutex mutex_;
  std::string failure_;     ///< guarded by mutex_
  bool pageLost_ = false;   ///< guarded by mutex_
  bool endQueued_ = false;  ///< the end-of-stream page went to pages_
  keOggPage* spareEnd_;     ///< the end page of no data, until queued
  OggPageQueue pages_;
  std::vector<keOggPage*> headerPages_;
  keLog* log_;
};
