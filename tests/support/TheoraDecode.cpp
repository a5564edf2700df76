#include "TheoraDecode.h"

#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

bool IsTheoraHeader(const ogg_packet& packet) {
  return packet.bytes >= 7 && packet.packet[0] == 0x80 && std::memcmp(packet.packet + 1, "theora", 6) == 0;
}

struct StreamState {
  ogg_stream_state state;
  explicit StreamState(int serial) { ogg_stream_init(&state, serial); }
  ~StreamState() { ogg_stream_clear(&state); }
};

}  // namespace

TheoraDecodeResult DecodeTheoraWithLibtheora(const std::vector<uint8_t>& oggBytes) {
  TheoraDecodeResult result;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(oggBytes.size()));
  std::memcpy(buffer, oggBytes.data(), oggBytes.size());
  ogg_sync_wrote(&sync, static_cast<long>(oggBytes.size()));

  th_info info;
  th_comment comment;
  th_info_init(&info);
  th_comment_init(&comment);
  th_setup_info* setup = nullptr;
  th_dec_ctx* decoder = nullptr;
  std::map<int, std::unique_ptr<StreamState>> streams;
  int theoraSerial = -1;
  int headers = 0;

  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    const int serial = ogg_page_serialno(&page);
    auto& stream = streams[serial];
    if (!stream) stream = std::make_unique<StreamState>(serial);
    ogg_stream_pagein(&stream->state, &page);
    ogg_packet packet;
    while (ogg_stream_packetout(&stream->state, &packet) == 1) {
      if (theoraSerial < 0 && IsTheoraHeader(packet)) theoraSerial = serial;
      if (serial != theoraSerial) continue;
      if (headers < 3) {
        if (th_decode_headerin(&info, &comment, &setup, &packet) > 0) ++headers;
        if (headers == 3) {
          result.headersDecoded = true;
          result.frameWidth = static_cast<int>(info.frame_width);
          result.frameHeight = static_cast<int>(info.frame_height);
          result.pictureWidth = static_cast<int>(info.pic_width);
          result.pictureHeight = static_cast<int>(info.pic_height);
          decoder = th_decode_alloc(&info, setup);
        }
        continue;
      }
      if (!decoder || packet.bytes == 0) continue;  // an empty packet ends the stream
      ogg_int64_t granule = 0;
      const int decoded = th_decode_packetin(decoder, &packet, &granule);
      th_ycbcr_buffer picture;
      if ((decoded == 0 || decoded == TH_DUPFRAME) && th_decode_ycbcr_out(decoder, picture) == 0) ++result.frames;
      else ++result.errors;
    }
  }
  if (decoder) th_decode_free(decoder);
  th_setup_free(setup);
  th_comment_clear(&comment);
  th_info_clear(&info);
  ogg_sync_clear(&sync);
  return result;
}
