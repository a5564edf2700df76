// Independent decoders for the encoders' output: libvorbis and libtheora's
// decoding side read the packets back, as a player would.
#pragma once

#include <theora/theoradec.h>
#include <vorbis/codec.h>

#include <string>
#include <vector>

#include "EncodedOggStream.h"

struct DecodedVorbis {
  bool headersAccepted = false;
  int channels = 0;
  long rate = 0;
  std::string vendor;
  std::vector<std::string> comments;
  int64_t samples = 0;
};

inline ogg_packet AsPacket(const EncodedPacket& in, size_t index) {
  ogg_packet packet{};
  packet.packet = const_cast<unsigned char*>(in.bytes.data());
  packet.bytes = static_cast<long>(in.bytes.size());
  packet.b_o_s = index == 0;
  packet.e_o_s = in.endOfStream;
  packet.granulepos = in.granulepos;
  packet.packetno = static_cast<int64_t>(index);
  return packet;
}

inline DecodedVorbis DecodeVorbis(const ParsedOggStream& stream) {
  DecodedVorbis out;
  vorbis_info info;
  vorbis_comment comment;
  vorbis_info_init(&info);
  vorbis_comment_init(&comment);
  size_t next = 0;
  out.headersAccepted = stream.packets.size() >= 3;
  for (; out.headersAccepted && next < 3; ++next) {
    ogg_packet packet = AsPacket(stream.packets[next], next);
    if (vorbis_synthesis_headerin(&info, &comment, &packet) != 0) out.headersAccepted = false;
  }
  if (out.headersAccepted) {
    out.channels = info.channels;
    out.rate = info.rate;
    out.vendor = comment.vendor ? comment.vendor : "";
    for (int i = 0; i < comment.comments; ++i) out.comments.emplace_back(comment.user_comments[i]);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_synthesis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    for (; next < stream.packets.size(); ++next) {
      // The granule positions and the end flag let the decoder trim the
      // padding of the last block, as a player does.
      ogg_packet packet = AsPacket(stream.packets[next], next);
      if (vorbis_synthesis(&block, &packet) == 0) vorbis_synthesis_blockin(&dsp, &block);
      float** pcm;
      int n;
      while ((n = vorbis_synthesis_pcmout(&dsp, &pcm)) > 0) {
        out.samples += n;
        vorbis_synthesis_read(&dsp, n);
      }
    }
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
  }
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

struct DecodedTheora {
  bool headersAccepted = false;
  uint32_t frameWidth = 0, frameHeight = 0, picWidth = 0, picHeight = 0;
  uint32_t fpsNumerator = 0, fpsDenominator = 0;
  std::string vendor;
  std::vector<std::string> comments;
  int64_t frames = 0;              // frames decoded, repeats included
  int64_t packetErrors = 0;        // data packets the decoder refused
  int64_t lastFrameNumber = -1;    // from the stream's last granule position
  std::vector<uint8_t> firstLuma;  // the first picture's luma, picWidth per line
};

inline DecodedTheora DecodeTheora(const ParsedOggStream& stream) {
  DecodedTheora out;
  th_info info;
  th_comment comment;
  th_setup_info* setup = nullptr;
  th_info_init(&info);
  th_comment_init(&comment);
  size_t next = 0;
  for (; next < stream.packets.size(); ++next) {
    ogg_packet packet = AsPacket(stream.packets[next], next);
    const int rc = th_decode_headerin(&info, &comment, &setup, &packet);
    if (rc <= 0) {
      out.headersAccepted = rc == 0 && next == 3;
      break;
    }
  }
  if (out.headersAccepted) {
    out.frameWidth = info.frame_width;
    out.frameHeight = info.frame_height;
    out.picWidth = info.pic_width;
    out.picHeight = info.pic_height;
    out.fpsNumerator = info.fps_numerator;
    out.fpsDenominator = info.fps_denominator;
    out.vendor = comment.vendor ? comment.vendor : "";
    for (int i = 0; i < comment.comments; ++i) out.comments.emplace_back(comment.user_comments[i]);
    th_dec_ctx* decoder = th_decode_alloc(&info, setup);
    for (; decoder && next < stream.packets.size(); ++next) {
      ogg_packet packet = AsPacket(stream.packets[next], next);
      const int rc = th_decode_packetin(decoder, &packet, nullptr);
      if (rc != 0 && rc != TH_DUPFRAME) {
        ++out.packetErrors;
        continue;
      }
      if (out.frames++ == 0) {
        th_ycbcr_buffer planes;
        th_decode_ycbcr_out(decoder, planes);
        for (uint32_t row = 0; row < info.pic_height; ++row) {
          const unsigned char* line =
              planes[0].data + static_cast<ptrdiff_t>(row + info.pic_y) * planes[0].stride + info.pic_x;
          out.firstLuma.insert(out.firstLuma.end(), line, line + info.pic_width);
        }
      }
    }
    if (decoder && stream.lastGranule >= 0) out.lastFrameNumber = th_granule_frame(decoder, stream.lastGranule);
    if (decoder) th_decode_free(decoder);
  }
  th_setup_free(setup);
  th_comment_clear(&comment);
  th_info_clear(&info);
  return out;
}
