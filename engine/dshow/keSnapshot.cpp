#include "keSnapshot.h"

#include <vector>

#include "FfmpegHandles.h"
#include "MediaFile.h"

namespace {

/// Decodes frames of `stream` into `frame` until one starts at or after
/// `from` (stream time base units); false at the end of the file.
bool DecodePicture(MediaFile& file, const AVStream* stream, AVCodecContext* decoder, int64_t from, AVFrame* frame) {
  PacketPtr packet(av_packet_alloc());
  if (!packet) return false;
  bool flushed = false;
  while (true) {
    while (avcodec_receive_frame(decoder, frame) >= 0) {
      if (frame->best_effort_timestamp == AV_NOPTS_VALUE || frame->best_effort_timestamp >= from) return true;
      av_frame_unref(frame);
    }
    if (flushed) return false;
    if (av_read_frame(file.Context(), packet.get()) < 0) {
      avcodec_send_packet(decoder, nullptr);
      flushed = true;
      continue;
    }
    if (packet->stream_index == stream->index) avcodec_send_packet(decoder, packet.get());
    av_packet_unref(packet.get());
  }
}

bool EncodeJpeg(const AVFrame& picture, std::vector<uint8_t>* jpeg) {
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
  if (!codec) return false;
  CodecContextPtr encoder(avcodec_alloc_context3(codec));
  if (!encoder) return false;
  encoder->width = picture.width;
  encoder->height = picture.height;
  encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
  encoder->time_base = AVRational{1, 25};
  if (avcodec_open2(encoder.get(), codec, nullptr) < 0) return false;
  PacketPtr packet(av_packet_alloc());
  if (!packet || avcodec_send_frame(encoder.get(), &picture) < 0) return false;
  avcodec_send_frame(encoder.get(), nullptr);
  if (avcodec_receive_packet(encoder.get(), packet.get()) < 0) return false;
  jpeg->assign(packet->data, packet->data + packet->size);
  return true;
}

}  // namespace

bool keSaveSnapshotJpeg(const std::string& source, double seconds, const std::string& target) {
  MediaFile file;
  if (Failed(file.Open(source))) return false;
  size_t index = 0;
  while (index < file.Streams().size() && file.Streams()[index].kind != StreamKind::Video) ++index;
  if (index == file.Streams().size()) return false;
  AVStream* stream = file.Stream(index);
  CodecContextPtr decoder = OpenDecoder(stream);
  if (!decoder) return false;

  const int64_t units = static_cast<int64_t>(seconds * static_cast<double>(kUnitsPerSecond));
  const int64_t from =
      av_rescale_q(units + file.Origin(), AVRational{1, static_cast<int>(kUnitsPerSecond)}, stream->time_base);
  if (seconds > 0.0 && av_seek_frame(file.Context(), stream->index, from, AVSEEK_FLAG_BACKWARD) >= 0)
    avcodec_flush_buffers(decoder.get());
  FramePtr frame(av_frame_alloc());
  if (!frame || !DecodePicture(file, stream, decoder.get(), seconds > 0.0 ? from : INT64_MIN, frame.get()))
    return false;

  FramePtr picture(av_frame_alloc());
  if (!picture) return false;
  picture->width = frame->width;
  picture->height = frame->height;
  picture->format = AV_PIX_FMT_YUVJ420P;
  if (av_frame_get_buffer(picture.get(), 0) < 0) return false;
  SwsContextPtr scaler(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                      picture->width, picture->height, AV_PIX_FMT_YUVJ420P, SWS_BICUBIC, nullptr,
                                      nullptr, nullptr));
  if (!scaler) return false;
  sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, picture->data, picture->linesize);

  std::vector<uint8_t> jpeg;
  if (!EncodeJpeg(*picture, &jpeg)) return false;
  AVIOContext* out = nullptr;
  if (avio_open(&out, target.c_str(), AVIO_FLAG_WRITE) < 0) return false;
  avio_write(out, jpeg.data(), static_cast<int>(jpeg.size()));
  const bool written = out->error >= 0;
  return avio_closep(&out) >= 0 && written;
}
