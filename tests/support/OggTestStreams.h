// Made-up Ogg packets to feed the engine's Ogg code, and a reader that takes
// written bytes apart again into pages and packets (checking every CRC).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include <ogg/ogg.h>

/// A packet of `size` bytes of a pattern picked by `seed`.
class FakeOggPacket {
 public:
  FakeOggPacket(size_t size, uint8_t seed, int64_t packetNo, int64_t granulePos, bool bos = false, bool eos = false);
  FakeOggPacket(const FakeOggPacket& other);
  FakeOggPacket& operator=(const FakeOggPacket&) = delete;

  ogg_packet* Get() { return &packet_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Point();

  std::vector<uint8_t> bytes_;
  ogg_packet packet_;
};

/// Where one page lies in a byte stream, and what its header says.
struct ParsedOggPage {
  size_t offset;
  size_t size;
  int serial;
  bool bos;
  bool eos;
  int64_t granulePos;
  std::vector<uint8_t> bytes;
};

/// Splits `bytes` into Ogg pages. Pages must follow one another without gaps
/// and with sound CRCs; `complete` is cleared when they do not, or when bytes
/// are left over.
std::vector<ParsedOggPage> ParseOggPages(const std::vector<uint8_t>& bytes, bool* complete);

/// Every packet of every logical stream in `bytes`, by serial, in order.
std::map<int, std::vector<std::vector<uint8_t>>> ExtractOggPackets(const std::vector<uint8_t>& bytes);
