#include "OggTestStreams.h"

#include <cstring>

FakeOggPacket::FakeOggPacket(size_t size, uint8_t seed, int64_t packetNo, int64_t granulePos, bool bos, bool eos)
    : bytes_(size), packet_() {
  for (size_t i = 0; i < size; ++i) bytes_[i] = static_cast<uint8_t>(seed + i * 7);
  packet_.b_o_s = bos ? 1 : 0;
  packet_.e_o_s = eos ? 1 : 0;
  packet_.granulepos = granulePos;
  packet_.packetno = packetNo;
  Point();
}

FakeOggPacket::FakeOggPacket(const FakeOggPacket& other) : bytes_(other.bytes_), packet_(other.packet_) { Point(); }

void FakeOggPacket::Point() {
  packet_.packet = bytes_.data();
  packet_.bytes = static_cast<long>(bytes_.size());
}

std::vector<ParsedOggPage> ParseOggPages(const std::vector<uint8_t>& bytes, bool* complete) {
  std::vector<ParsedOggPage> pages;
  *complete = true;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  size_t offset = 0;
  for (;;) {
    ogg_page page;
    long n = ogg_sync_pageseek(&sync, &page);
    if (n == 0) break;
    if (n < 0) {  // bytes that are not a sound page
      *complete = false;
      offset += static_cast<size_t>(-n);
      continue;
    }
    ParsedOggPage parsed{offset,
                         static_cast<size_t>(n),
                         ogg_page_serialno(&page),
                         ogg_page_bos(&page) != 0,
                         ogg_page_eos(&page) != 0,
                         ogg_page_granulepos(&page),
                         std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(offset + n))};
    pages.push_back(parsed);
    offset += static_cast<size_t>(n);
  }
  if (offset != bytes.size()) *complete = false;
  ogg_sync_clear(&sync);
  return pages;
}

std::map<int, std::vector<std::vector<uint8_t>>> ExtractOggPackets(const std::vector<uint8_t>& bytes) {
  std::map<int, std::vector<std::vector<uint8_t>>> packets;
  std::map<int, ogg_stream_state> streams;
  bool complete = false;
  for (ParsedOggPage& parsed : ParseOggPages(bytes, &complete)) {
    auto found = streams.find(parsed.serial);
    if (found == streams.end()) {
      found = streams.emplace(parsed.serial, ogg_stream_state{}).first;
      ogg_stream_init(&found->second, parsed.serial);
    }
    ogg_page page;
    page.header = parsed.bytes.data();
    page.header_len = 27 + parsed.bytes[26];
    page.body = parsed.bytes.data() + page.header_len;
    page.body_len = static_cast<long>(parsed.bytes.size()) - page.header_len;
    ogg_stream_pagein(&found->second, &page);
    ogg_packet packet;
    while (ogg_stream_packetout(&found->second, &packet) == 1)
      packets[parsed.serial].emplace_back(packet.packet, packet.packet + packet.bytes);
  }
  for (auto& entry : streams) ogg_stream_clear(&entry.second);
  return packets;
}
