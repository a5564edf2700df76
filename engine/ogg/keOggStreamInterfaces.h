// The two faces of an encoder's Ogg stream, and what the stream manager needs
// to know of each encoder.
//
// An encoder thread pushes packets into a keOggPacketSink; the stream
// manager's thread drains pages from the keOggPageSource side. TakePage and
// PeekPage block until a page is there: an encoder ends its stream by sending
// a page with the end-of-stream flag, and must do so even when it failed, or
// the manager waits for good.
#pragma once

#include <cstdint>
#include <string>

#include <ogg/ogg.h>

class keEvent;
class keOggPage;

class keOggPacketSink {
 public:
  virtual ~keOggPacketSink() = default;
  /// A data packet of `units` samples or frames; `isKey` marks a seek point.
  virtual void PacketIn(ogg_packet* packet, int32_t units, bool isKey) = 0;
  /// A header packet; its pages are kept apart from the data pages.
  virtual void HeaderPacketIn(ogg_packet* packet) = 0;
};

class keOggPageSource {
 public:
  virtual ~keOggPageSource() = default;
  virtual int32_t GetHeaderPageCount() = 0;
  /// The i-th header page, owned by the source. `i` must be in range.
  virtual keOggPage* GetHeaderPage(int32_t i) = 0;
  /// Removes and returns the next data page (the caller owns it); blocks.
  virtual keOggPage* TakePage() = 0;
  /// The next data page without removing it (still owned by the source); blocks.
  virtual keOggPage* PeekPage() = 0;
};

/// What an encoder offers the stream manager (keStreamManager::AddStream).
class keEncoderStream {
 public:
  virtual ~keEncoderStream() = default;
  /// Set once the stream's header pages exist (or the encoder gave up).
  virtual keEvent& GetSetupCompletedEvent() = 0;
  /// Stream time in ms = units × numerator ÷ denominator.
  virtual int32_t GetRateNumerator() = 0;
  virtual int32_t GetRateDenominator() = 0;
  virtual keOggPageSource* GetPageSource() = 0;
  /// True when the encoder could not encode (its stream still ends).
  virtual bool HasFailed() = 0;
  /// A reason a user can read; empty unless HasFailed.
  virtual std::string GetFailureReason() = 0;
  /// How a user calls the stream and its units ("video", "frames").
  virtual std::string GetStreamKind() { return "stream"; }
  virtual std::string GetUnitName() { return "data"; }
};
