// Test helpers for the encoders: drain one encoder's Ogg stream as the
// stream manager would (header pages, then data pages until the end of the
// stream), take the bytes apart into packets again, and let ffmpeg decode
// them as an independent check.
#pragma once

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "keEvent.h"
#include "keOggPage.h"
#include "keOggStreamInterfaces.h"

/// One packet as a decoder would be given it.
struct EncodedPacket {
  std::vector<uint8_t> bytes;
  int64_t granulepos = -1;
  bool endOfStream = false;
};

struct EncodedOggStream {
  std::vector<uint8_t> bytes;  // every page, headers first
  int32_t headerPages = 0;
  int32_t dataPages = 0;
  int32_t endOfStreamPages = 0;
  bool lastPageEndsStream = false;
  bool firstPageBeginsStream = false;
  std::vector<EncodedPacket> packets;  // in stream order
  bool packetsContinuous = true;               // no gap or damage found
};

inline void AppendPage(EncodedOggStream& out, const keOggPage& page) {
  out.bytes.insert(out.bytes.end(), page.GetHeader().begin(), page.GetHeader().end());
  out.bytes.insert(out.bytes.end(), page.GetBody().begin(), page.GetBody().end());
}

/// Waits for the stream's set-up, then takes every page up to the one that
/// ends the stream (blocking, as the stream manager does, while none comes).
inline EncodedOggStream DrainStream(keEncoderStream& stream, int maxPages = 100000) {
  EncodedOggStream out;
  stream.GetSetupCompletedEvent().Wait(keINFINITE);
  keOggPageSource* source = stream.GetPageSource();
  out.headerPages = source->GetHeaderPageCount();
  for (int32_t i = 0; i < out.headerPages; ++i) AppendPage(out, *source->GetHeaderPage(i));
  for (int n = 0; n < maxPages; ++n) {
    keOggPage* page = source->TakePage();
    AppendPage(out, *page);
    ++out.dataPages;
    const bool ends = page->IsEndOfStream();
    delete page;
    if (ends) break;
  }

  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(out.bytes.size()));
  if (!out.bytes.empty()) std::copy(out.bytes.begin(), out.bytes.end(), buffer);
  ogg_sync_wrote(&sync, static_cast<long>(out.bytes.size()));
  ogg_stream_state state;
  bool streamOpen = false;
  ogg_page page;
  bool first = true;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    if (first) {
      out.firstPageBeginsStream = ogg_page_bos(&page) != 0;
      ogg_stream_init(&state, ogg_page_serialno(&page));
      streamOpen = true;
      first = false;
    }
    out.lastPageEndsStream = ogg_page_eos(&page) != 0;
    if (out.lastPageEndsStream) ++out.endOfStreamPages;
    if (ogg_stream_pagein(&state, &page) != 0) out.packetsContinuous = false;
    ogg_packet packet;
    int rc;
    while ((rc = ogg_stream_packetout(&state, &packet)) != 0) {
      if (rc < 0) {
        out.packetsContinuous = false;
        continue;
      }
      out.packets.push_back({std::vector<uint8_t>(packet.packet, packet.packet + packet.bytes),
                             packet.granulepos, packet.e_o_s != 0});
    }
  }
  if (streamOpen) ogg_stream_clear(&state);
  ogg_sync_clear(&sync);
  return out;
}

/// Decodes `bytes` as an Ogg file with ffmpeg; returns what it complained
/// about ("" when it decoded cleanly), or a note when ffmpeg is missing.
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
