#include "MediaFile.h"

#include <algorithm>
#include <mutex>

#include "platform/keFileKind.h"

namespace {

void QuietenFfmpeg() {
  // Broken files make the demuxers and decoders complain on stderr; the
  // engine reports failures through its results, not through a console.
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

std::string ErrorText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

bool IsUsableRate(AVRational rate) { return rate.num > 0 && rate.den > 0; }

constexpr AVRational kUnits = {1, static_cast<int>(kUnitsPerSecond)};

}  // namespace

HRESULT MediaFile::Open(const std::string& path) {
  QuietenFfmpeg();
  context_.reset();
  streams_.clear();
  failureReason_.clear();

  // Before the demuxer sees it: a named pipe would block the open (and be
  // read twice over), a device or a folder gives no media.
  if (!kePlatform::CheckSourceFile(path, &failureReason_)) return MG_E_CANNOT_OPEN_FILE;
  // A local file and nothing else: given to the demuxer as it stands, a name
  // such as "clip:final.mp4" or "file:x.mp4" would be read as a protocol.
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  AVFormatContext* raw = nullptr;
  int error = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, &options);
  av_dict_free(&options);
  if (error < 0) {
    failureReason_ = "cannot open \"" + path + "\": " + ErrorText(error);
    return MG_E_CANNOT_OPEN_FILE;
  }
  FormatContextPtr context(raw);
  error = avformat_find_stream_info(context.get(), nullptr);
  if (error < 0) {
    failureReason_ = "cannot read the streams of \"" + path + "\": " + ErrorText(error);
    return MG_E_CANNOT_OPEN_FILE;
  }
  for (unsigned i = 0; i < context->nb_streams; ++i) {
    const AVStream* stream = context->streams[i];
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) continue;
    const AVMediaType type = stream->codecpar->codec_type;
    if (type == AVMEDIA_TYPE_AUDIO) streams_.push_back({static_cast<int>(i), StreamKind::Audio});
    else if (type == AVMEDIA_TYPE_VIDEO) streams_.push_back({static_cast<int>(i), StreamKind::Video});
  }
  context_ = std::move(context);
  return S_OK;
}

bool MediaFile::StreamLength(size_t i, double* seconds) const {
  const AVStream* stream = Stream(i);
  const int64_t fileStart = FileStart();
  int64_t end = 0;
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    const int64_t start =
        stream->start_time != AV_NOPTS_VALUE ? av_rescale_q(stream->start_time, stream->time_base, kUnits) : fileStart;
    end = start + av_rescale_q(stream->duration, stream->time_base, kUnits);
  } else if (context_->duration != AV_NOPTS_VALUE && context_->duration > 0) {
    end = fileStart + av_rescale_q(context_->duration, AV_TIME_BASE_Q, kUnits);
  } else {
    *seconds = -1.0;
    return false;
  }
  *seconds = static_cast<double>(std::max<int64_t>(0, end - Origin())) / kUnitsPerSecond;
  return true;
}

bool MediaFile::StatedFrameRate(size_t i, double* fps) const {
  const AVStream* stream = Stream(i);
  *fps = 0.0;
  if (IsUsableRate(stream->avg_frame_rate)) {
    *fps = av_q2d(stream->avg_frame_rate);
    return true;
  }
  // The base rate is a guess from the time stamps; trust it only when it
  // looks like a frame rate rather than a clock rate.
  if (IsUsableRate(stream->r_frame_rate) && av_q2d(stream->r_frame_rate) <= 500.0) {
    *fps = av_q2d(stream->r_frame_rate);
    return true;
  }
  return false;
}

int64_t MediaFile::Origin() const {
  for (const MediaFileStream& entry : streams_) {
    if (entry.kind != StreamKind::Video) continue;
    const AVStream* video = context_->streams[entry.index];
    if (video->start_time != AV_NOPTS_VALUE) return av_rescale_q(video->start_time, video->time_base, kUnits);
    break;
  }
  return FileStart();
}

int64_t MediaFile::FileStart() const {
  if (context_->start_time == AV_NOPTS_VALUE) return 0;
  return av_rescale_q(context_->start_time, AV_TIME_BASE_Q, kUnits);
}

CodecContextPtr OpenDecoder(const AVStream* stream) {
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  CodecContextPtr context(avcodec_alloc_context3(codec));
  if (!context) return nullptr;
  if (avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return nullptr;
  context->pkt_timebase = stream->time_base;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
  return context;
}

int EvenPictureSize(int size) {
  if (size <= 0) return 0;
  if (size == 1) return 2;
  return size & ~1;
}
