// Test helpers for the encoders: drain one encoder's Ogg stream as the
// stream manager would (header pages, then data pages until the end of the
// stream), take Ogg bytes apart into logical streams and packets again, and
// let ffmpeg decode them as an independent check.
#pragma once

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "keEvent.h"
#include "ogg/keOggPage.h"
#include "ogg/keOggStreamInterfaces.h"

/// One packet as a decoder would be given it.
struct EncodedPacket {
  std::vector<uint8_t> bytes;
  int64_t granulepos = -1;
  bool endOfStream = false;
};

/// One logical stream as read back from Ogg bytes.
struct ParsedOggStream {
  int32_t pages = 0;
  int32_t endOfStreamPages = 0;
  bool firstPageBeginsStream = false;
  bool lastPageEndsStream = false;
  int64_t lastGranule = -1;
  std::vector<EncodedPacket> packets;  // in stream order
  bool packetsContinuous = true;       // no gap or damage found
};

/// Every logical stream in `bytes`, by serial number.
inline std::map<int32_t, ParsedOggStream> ParseOggStreams(const std::vector<uint8_t>& bytes) {
  std::map<int32_t, ParsedOggStream> streams;
  std::map<int32_t, ogg_stream_state> states;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), buffer);
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    const int32_t serial = ogg_page_serialno(&page);
    ParsedOggStream& out = streams[serial];
    if (out.pages++ == 0) {
      out.firstPageBeginsStream = ogg_page_bos(&page) != 0;
      ogg_stream_init(&states[serial], serial);
    }
    out.lastPageEndsStream = ogg_page_eos(&page) != 0;
    if (out.lastPageEndsStream) ++out.endOfStreamPages;
    out.lastGranule = ogg_page_granulepos(&page);
    ogg_stream_state& state = states[serial];
    if (ogg_stream_pagein(&state, &page) != 0) out.packetsContinuous = false;
    ogg_packet packet;
    int rc;
    while ((rc = ogg_stream_packetout(&state, &packet)) != 0) {
      if (rc < 0) {
        out.packetsContinuous = false;
        continue;
      }
      out.packets.push_back(
          {std::vector<uint8_t>(packet.packet, packet.packet + packet.bytes), packet.granulepos, packet.e_o_s != 0});
    }
  }
  for (auto& entry : states) ogg_stream_clear(&entry.second);
  ogg_sync_clear(&sync);
  return streams;
}

struct EncodedOggStream : ParsedOggStream {
  std::vector<uint8_t> bytes;  // every page, headers first
  int32_t headerPages = 0;
  int32_t dataPages = 0;
  int32_t streamsFound = 0;  // logical streams in the bytes (1 unless broken)
};

inline void AppendPage(std::vector<uint8_t>& out, const keOggPage& page) {
  out.insert(out.end(), page.GetHeader().begin(), page.GetHeader().end());
  out.insert(out.end(), page.GetBody().begin(), page.GetBody().end());
}

/// Waits for the stream's set-up, then takes every page up to the one that
/// ends the stream (blocking, as the stream manager does, while none comes).
inline EncodedOggStream DrainStream(keEncoderStream& stream, int maxPages = 100000) {
  EncodedOggStream out;
  stream.GetSetupCompletedEvent().Wait(keINFINITE);
  keOggPageSource* source = stream.GetPageSource();
  out.headerPages = source->GetHeaderPageCount();
  for (int32_t i = 0; i < out.headerPages; ++i) AppendPage(out.bytes, *source->GetHeaderPage(i));
  for (int n = 0; n < maxPages; ++n) {
    keOggPage* page = source->TakePage();
    AppendPage(out.bytes, *page);
    ++out.dataPages;
    const bool ends = page->IsEndOfStream();
    delete page;
    if (ends) break;
  }
  std::map<int32_t, ParsedOggStream> streams = ParseOggStreams(out.bytes);
  out.streamsFound = static_cast<int32_t>(streams.size());
  if (!streams.empty()) static_cast<ParsedOggStream&>(out) = streams.begin()->second;
  return out;
}

/// Checks that a stream begins once, ends once on its last page and lost
/// nothing on the way.
inline void ExpectStreamEndsOnce(const ParsedOggStream& stream, const std::string& where) {
  EXPECT_TRUE(stream.firstPageBeginsStream) << where;
  EXPECT_TRUE(stream.lastPageEndsStream) << where;
  EXPECT_EQ(stream.endOfStreamPages, 1) << where;
  EXPECT_TRUE(stream.packetsContinuous) << where;
}

/// Decodes `bytes` as an Ogg file with ffmpeg; returns what it complained
/// about ("" when it decoded cleanly), or a note in `skipped` when ffmpeg is
/// missing.
inline std::string FfmpegComplaints(const std::vector<uint8_t>& bytes, std::string* skipped) {
  if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) {
    *skipped = "ffmpeg is not installed";
    return "";
  }
  TempDir dir;
  const std::string path = dir.File("stream.ogg");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -f null - 2>&1";
  std::string complaints;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) complaints += line;
    if (pclose(pipe) != 0 && complaints.empty()) complaints = "ffmpeg failed";
  } else {
    complaints = "ffmpeg could not be started";
  }
  return complaints;
}
