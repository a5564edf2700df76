// An owned copy of one libogg page, with what the stream manager needs beside
// the bytes: how many units (samples or frames) the page accounts for, and
// whether it is the first page after a key packet, with that packet's
// position.
#pragma once

#include <cstdint>
#include <vector>

#include <ogg/ogg.h>

class keOutputStream;

class keOggPage {
 public:
  /// Copies the page's header and body. Key flag false, key position 0, no
  /// units.
  explicit keOggPage(const ogg_page& page);
  keOggPage(const keOggPage&) = delete;
  keOggPage& operator=(const keOggPage&) = delete;

  /// Writes the header bytes, then the body bytes. Returns the end-of-stream
  /// flag.
  bool WriteTo(keOutputStream* out) const;

  int32_t GetUnitCount() const { return unitCount_; }
  void SetUnitCount(int32_t units) { unitCount_ = units; }
  /// Marks the page as the seek point of the key packet whose first unit is
  /// at `position`.
  void SetKey(int64_t position) {
    key_ = true;
    keyPosition_ = position;
  }
  bool IsKey() const { return key_; }
  int64_t GetKeyPosition() const { return keyPosition_; }

  bool IsEndOfStream() const { return endOfStream_; }
  int32_t GetSerial() const { return serial_; }
  int64_t GetGranulePosition() const { return granulePosition_; }
  int32_t GetHeaderLength() const { return static_cast<int32_t>(header_.size()); }
  int32_t GetBodyLength() const { return static_cast<int32_t>(body_.size()); }
  /// Header and body length together: what WriteTo writes.
  int64_t GetSize() const { return static_cast<int64_t>(header_.size() + body_.size()); }
  const std::vector<uint8_t>& GetHeader() const { return header_; }
  const std::vector<uint8_t>& GetBody() const { return body_; }

 private:
  int32_t unitCount_ = 0;
  bool endOfStream_;
  bool key_ = false;
  int64_t keyPosition_ = 0;
  int32_t serial_;
  int64_t granulePosition_;
  std::vector<uint8_t> header_;
  std::vector<uint8_t> body_;
};
