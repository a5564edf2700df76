#include "StreamPipeline.h"

#include <algorithm>
#include <cstring>

#include "AudioFrameConverter.h"
#include "BaseRenderer.h"
#include "StreamLeadLimit.h"
#include "StreamProblems.h"
#include "VideoFrameConverter.h"
#include "keThreadName.h"

namespace {

constexpr AVRational kUnits = {1, static_cast<int>(kUnitsPerSecond)};

int64_t SamplesToUnits(int64_t samples, int rate) {
  return av_rescale(samples, kUnitsPerSecond, rate);
}

/// The first sample at or after media time `units`.
int64_t UnitsToSampleCeil(int64_t units, int rate) {
  return av_rescale_rnd(units, rate, kUnitsPerSecond, AV_ROUND_UP);
}

}  // namespace

StreamPipeline::StreamPipeline(StreamRunSettings settings, BaseRenderer* renderer,
                               std::atomic<int64_t>* latestEnd)
    : settings_(std::move(settings)), renderer_(renderer), latestEnd_(latestEnd) {
  if (settings_.lead) leadSlot_ = settings_.lead->Join();
}

StreamPipeline::~StreamPipeline() {
  RequestStop();
  Join();
}

void StreamPipeline::Start() { thread_ = std::thread(&StreamPipeline::Run, this); }

void StreamPipeline::RequestStop() {
  {
    std::lock_guard<std::mutex> lock(wakeMutex_);
    stopRequested_ = true;
  }
  wake_.notify_all();
  if (settings_.lead) settings_.lead->WakeAll();
}

void StreamPipeline::Join() {
  if (thread_.joinable()) thread_.join();
}

void StreamPipeline::Run() {
  kePlatform::SetCurrentThreadName(settings_.kind == StreamKind::Video ? "graph video" : "graph audio");
  if (Open()) Stream();
  // The pipeline's FFmpeg states are freed on this thread, before the end of
  // stream, so that a finished stream holds no decoder.
  video_.reset();
  audio_.reset();
  decoder_.reset();
  file_ = MediaFile();
  // Before the end of stream, which may wait for the listeners to finish.
  if (settings_.lead) settings_.lead->Leave(leadSlot_);
  if (!StopRequested()) renderer_->EndOfStream();
}

bool StreamPipeline::Open() {
  if (Failed(file_.Open(settings_.path))) return false;
  AVFormatContext* context = file_.Context();
  if (settings_.containerIndex < 0 ||
      settings_.containerIndex >= static_cast<int>(context->nb_streams))
    return false;
  for (unsigned i = 0; i < context->nb_streams; ++i)
    if (static_cast<int>(i) != settings_.containerIndex) context->streams[i]->discard = AVDISCARD_ALL;
  stream_ = context->streams[settings_.containerIndex];
  decoder_ = OpenDecoder(stream_);
  if (!decoder_) return false;
  origin_ = file_.Origin();

  const MediaType& type = settings_.type;
  if (settings_.kind == StreamKind::Video) {
    const int width = type.video.bmiHeader.biWidth;
    const int height = type.video.bmiHeader.biHeight;
    video_ = std::make_unique<VideoFrameConverter>(type.subtype, width, height);
    if (video_->FrameBytes() <= 0) return false;
    sample_.Allocate(video_->FrameBytes());
    if (type.video.AvgTimePerFrame > 0) frameDuration_ = type.video.AvgTimePerFrame;
  } else {
    if (type.wave.nChannels == 0 || type.wave.nSamplesPerSec == 0) return false;
    audio_ = std::make_unique<AudioFrameConverter>(type.wave.nChannels,
                                                   static_cast<int>(type.wave.nSamplesPerSec));
  }

  if (settings_.start > 0) {
    // Land on the last key frame at or before the start; decoding from there
    // reaches the start exactly. Without a seek the start is still reached,
    // by decoding from the beginning.
    const int64_t target = av_rescale_q(settings_.start + origin_, kUnits, stream_->time_base);
    if (av_seek_frame(context, settings_.containerIndex, target, AVSEEK_FLAG_BACKWARD) >= 0)
      avcodec_flush_buffers(decoder_.get());
  }
  return true;
}

void StreamPipeline::Stream() {
  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  if (!packet || !frame) return;
  bool going = true;
  auto drain = [&] {
    while (going && avcodec_receive_frame(decoder_.get(), frame.get()) >= 0) {
      going = HandleFrame(frame.get());
      av_frame_unref(frame.get());
    }
  };
  const char* kind = settings_.kind == StreamKind::Video ? "video" : "audio";
  while (going && !StopRequested()) {
    const int read = av_read_frame(file_.Context(), packet.get());
    if (read == AVERROR_EOF) break;
    if (read < 0) {
      // Taken for the end, it would pass a cut-off encode as a whole one.
      if (settings_.problems) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(read, text, sizeof text);
        settings_.problems->Fail("the " + std::string(kind) + " of \"" + settings_.path +
                                 "\" cannot be read on: " + text);
      }
      return;
    }
    if (packet->stream_index == settings_.containerIndex) {
      // A damaged packet is skipped; the decoder picks up at the next one.
      if (avcodec_send_packet(decoder_.get(), packet.get()) >= 0) drain();
      else if (settings_.problems) settings_.problems->SkippedPacket(kind);
    }
    av_packet_unref(packet.get());
  }
  if (!going || StopRequested()) return;
  avcodec_send_packet(decoder_.get(), nullptr);
  drain();
  if (going && audio_ && !StopRequested()) {
    const int samples = audio_->Drain(&pcm_);
    if (samples > 0 && haveNextSample_) HandleAudio(pcm_.data(), samples, nextSample_);
  }
}

bool StreamPipeline::HandleFrame(AVFrame* frame) {
  if (StopRequested()) return false;
  if (video_) return HandleVideo(frame);

  const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
  const int samples = audio_->Convert(*frame, &pcm_);
  if (samples <= 0) return true;
  int64_t first = haveNextSample_ ? nextSample_ : 0;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
    const int64_t stated = av_rescale_q(frame->best_effort_timestamp, stream_->time_base,
                                        AVRational{1, rate}) -
                           av_rescale(origin_, rate, kUnitsPerSecond);
    // Containers that keep times in milliseconds jitter by a fraction of a
    // block; follow on from the previous block unless the time jumps.
    if (!haveNextSample_ || std::llabs(stated - nextSample_) > rate / 50) first = stated;
  }
  return HandleAudio(pcm_.data(), samples, first);
}

bool StreamPipeline::HandleAudio(const uint8_t* data, int samples, int64_t firstSample) {
  const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
  const int blockAlign = settings_.type.wave.nBlockAlign;
  nextSample_ = firstSample + samples;
  haveNextSample_ = true;

  const int64_t startSample = UnitsToSampleCeil(settings_.start, rate);
  int64_t from = std::max(firstSample, startSample);
  int64_t to = firstSample + samples;
  bool finished = false;
  if (settings_.stop >= 0) {
    const int64_t stopSample = UnitsToSampleCeil(settings_.stop, rate);
    if (firstSample >= stopSample) return false;
    if (to >= stopSample) {
      to = stopSample;
      finished = true;
    }
  }
  if (to <= from) return !finished;

  const int32_t bytes = static_cast<int32_t>((to - from) * blockAlign);
  if (sample_.GetSize() < bytes) sample_.Allocate(bytes);
  std::memcpy(sample_.Data(), data + (from - firstSample) * blockAlign, static_cast<size_t>(bytes));
  sample_.SetActualDataLength(bytes);
  const bool delivered =
      Deliver(SamplesToUnits(from - startSample, rate), SamplesToUnits(to - startSample, rate));
  return delivered && !finished;
}

bool StreamPipeline::HandleVideo(AVFrame* frame) {
  int64_t start = nextVideoStart_;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
    start = av_rescale_q(frame->best_effort_timestamp, stream_->time_base, kUnits) - origin_;
  const int64_t duration = frame->pkt_duration > 0
                               ? av_rescale_q(frame->pkt_duration, stream_->time_base, kUnits)
                               : frameDuration_;
  int64_t end = start + duration;
  nextVideoStart_ = end;

  if (settings_.stop >= 0 && start >= settings_.stop) return false;
  if (end <= settings_.start) return true;
  start = std::max(start, settings_.start);
  if (settings_.stop >= 0) end = std::min(end, settings_.stop);
  if (!video_->Convert(*frame, sample_.Data())) return true;  // an unconvertible frame is skipped
  sample_.SetActualDataLength(video_->FrameBytes());
  return Deliver(start - settings_.start, end - settings_.start);
}

bool StreamPipeline::Deliver(int64_t start, int64_t end) {
  if (settings_.lead && !settings_.lead->WaitToDeliver(leadSlot_, start, stopRequested_)) return false;
  if (!WaitForTime(start)) return false;
  sample_.SetTime(start, end);
  if (Failed(renderer_->Receive(&sample_))) return false;
  int64_t latest = latestEnd_->load();
  while (end > latest && !latestEnd_->compare_exchange_weak(latest, end)) {
  }
  return !StopRequested();
}

bool StreamPipeline::WaitForTime(int64_t streamTime) {
  if (!settings_.paced) return !StopRequested();
  const auto due = settings_.runStart + std::chrono::microseconds(streamTime / 10);
  std::unique_lock<std::mutex> lock(wakeMutex_);
  wake_.wait_until(lock, due, [this] { return stopRequested_.load(); });
  return !stopRequested_.load();
}
