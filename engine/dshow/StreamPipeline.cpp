#include "StreamPipeline.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "AudioFrameConverter.h"
#include "BaseRenderer.h"
#include "StreamLeadLimit.h"
#include "StreamProblems.h"
#include "TimestampJoins.h"
#include "keSourceTiming.h"
#include "VideoFrameConverter.h"
#include "platform/keMemoryRoom.h"
#include "platform/keThreadStart.h"
#include "platform/keThreadName.h"

namespace {

constexpr AVRational kUnits = {1, static_cast<int>(kUnitsPerSecond)};

int64_t SamplesToUnits(int64_t samples, int rate) { return av_rescale(samples, kUnitsPerSecond, rate); }

/// The first sample at or after media time `units`.
int64_t UnitsToSampleCeil(int64_t units, int rate) { return av_rescale_rnd(units, rate, kUnitsPerSecond, AV_ROUND_UP); }

/// About what one more decoded picture of the stream takes; 0 for sound.
size_t DecodedFrameBytes(const StreamRunSettings& settings) {
  if (settings.kind != StreamKind::Video) return 0;
  const BitmapInfoHeader& picture = settings.type.video.bmiHeader;
  return static_cast<size_t>(
      std::max<int64_t>(0, VideoFrameBytes(settings.type.subtype, picture.biWidth, picture.biHeight)));
}

}  // namespace

StreamPipeline::StreamPipeline(StreamRunSettings settings, BaseRenderer* renderer, std::atomic<int64_t>* latestEnd)
    : settings_(std::move(settings)), renderer_(renderer), latestEnd_(latestEnd) {
  if (settings_.lead) leadSlot_ = settings_.lead->Join();
}

StreamPipeline::~StreamPipeline() {
  RequestStop();
  Join();
}

bool StreamPipeline::Start() {
  try {
    thread_ = kePlatform::StartThread([this] { Run(); });
    return true;
  } catch (const std::system_error& error) {
    if (settings_.problems)
      settings_.problems->Fail(std::string("the source's streams cannot be decoded: a thread cannot be started: ") +
                               error.what());
    if (settings_.lead) settings_.lead->Leave(leadSlot_);
    return false;
  }
}

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
  try {
    if (Open()) Stream();
  } catch (const std::bad_alloc&) {
    // A buffer that cannot be had ends the stream as a failure of the run,
    // not of the process.
    kePlatform::ReleaseMemoryRoom();
    if (settings_.problems) settings_.problems->FailForMemory();
  }
  // The pipeline's FFmpeg states are freed on this thread, before the end of
  // stream, so that a finished stream holds no decoder.
  video_.reset();
  audio_.reset();
  decoder_.reset();
  file_ = MediaFile();
  // Before the end of stream, which may wait for the listeners to finish.
  if (settings_.lead) settings_.lead->Leave(leadSlot_, deliveredEnd_);
  if (!StopRequested()) renderer_->EndOfStream();
}

bool StreamPipeline::Open() {
  // The probe opened the file a moment ago: failing now is no property of
  // the file (too many open files, the file gone), and said as it is, not
  // left to look like a stream that holds nothing.
  const std::string kind = settings_.kind == StreamKind::Video ? "video" : "audio";
  auto fail = [&](const std::string& why) {
    if (settings_.problems) settings_.problems->Fail("the " + kind + " of \"" + settings_.path + "\" " + why);
    return false;
  };
  if (Failed(file_.Open(settings_.path))) {
    // Without memory FFmpeg may say anything ("Protocol not found"): with
    // no room for a demuxer's buffers, memory is the reason.
    if (kePlatform::MemoryRunsShort(size_t{1} << 20))
      return fail("cannot be read: there is not enough memory to open it");
    return fail("cannot be read: " + file_.FailureReason());
  }
  AVFormatContext* context = file_.Context();
  if (settings_.containerIndex < 0 || settings_.containerIndex >= static_cast<int>(context->nb_streams))
    return fail("is no longer in the file");
  for (unsigned i = 0; i < context->nb_streams; ++i)
    if (static_cast<int>(i) != settings_.containerIndex) context->streams[i]->discard = AVDISCARD_ALL;
  stream_ = context->streams[settings_.containerIndex];
  decoder_ = OpenDecoder(stream_);
  decoderMemory_.Watch(decoder_.get(), DecodedFrameBytes(settings_));
  // The probe opened this decoder a moment ago: failing now may be memory.
  if (!decoder_ && decoderMemory_.ExplainsResult(AVERROR_UNKNOWN))
    return fail("cannot be decoded: there is not enough memory for its decoder");
  if (!decoder_) return fail("cannot be decoded: its decoder cannot be opened");
  origin_ = file_.Origin();

  const MediaType& type = settings_.type;
  if (settings_.kind == StreamKind::Video) {
    const int width = type.video.bmiHeader.biWidth;
    const int height = type.video.bmiHeader.biHeight;
    video_ = std::make_unique<VideoFrameConverter>(type.subtype, width, height);
    if (video_->FrameBytes() <= 0) return false;
    sample_.Allocate(video_->FrameBytes());
    if (type.video.AvgTimePerFrame > 0) frameDuration_ = type.video.AvgTimePerFrame;
    if (settings_.frameRate > 0.0) {
      held_.reset(av_frame_alloc());
      if (!held_) return false;
      halfSlot_ = std::llround(kUnitsPerSecond / settings_.frameRate / 2.0);
    }
  } else {
    if (type.wave.nChannels == 0 || type.wave.nSamplesPerSec == 0) return false;
    const int rate = static_cast<int>(type.wave.nSamplesPerSec);
    audio_ = std::make_unique<AudioFrameConverter>(type.wave.nChannels, rate);
    startSample_ = UnitsToSampleCeil(settings_.start, rate);
    written_ = startSample_;
    stopSample_ = settings_.stop >= 0 ? UnitsToSampleCeil(settings_.stop, rate) : -1;
  }

  if (file_.HasDiscontinuousTimes())
    joinedTimes_ = std::make_unique<JoinedStreamTimes>(settings_.joins, settings_.path, stream_->time_base);
  // In a file whose times start over, a time names no one place: the start
  // is reached by decoding from the beginning, across the joins.
  if (settings_.start > 0 && !joinedTimes_) {
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
  bool outOfMemory = false;
  auto drain = [&] {
    int received = 0;
    while (going && (received = avcodec_receive_frame(decoder_.get(), frame.get())) >= 0) {
      going = HandleFrame(frame.get());
      av_frame_unref(frame.get());
    }
    if (decoderMemory_.ExplainsResult(received)) outOfMemory = true;
  };
  // The decoder's want of memory is the run's failure, not damage in the
  // file: skipped like a damaged packet, it would leave a stream short or
  // empty without saying why.
  auto failForMemory = [&] {
    if (settings_.problems) settings_.problems->FailForMemory();
  };
  const char* kind = settings_.kind == StreamKind::Video ? "video" : "audio";
  while (going && !StopRequested()) {
    const int read = av_read_frame(file_.Context(), packet.get());
    if (read == AVERROR_EOF) break;
    if (read == AVERROR(ENOMEM)) return failForMemory();
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
      if (joinedTimes_) joinedTimes_->Follow(packet.get());
      const int sent = avcodec_send_packet(decoder_.get(), packet.get());
      if (sent >= 0) drain();
      // Decoders may tell a shortage as damaged data: the watch knows.
      if (decoderMemory_.ExplainsResult(sent)) outOfMemory = true;
      if (outOfMemory) return failForMemory();
      // A damaged packet is skipped; the decoder picks up at the next one.
      if (sent < 0 && settings_.problems) settings_.problems->SkippedPacket(kind);
    }
    av_packet_unref(packet.get());
  }
  if (!going || StopRequested()) return;
  avcodec_send_packet(decoder_.get(), nullptr);
  drain();
  if (outOfMemory) return failForMemory();
  if (!going || StopRequested()) return;
  if (audio_) {
    const int samples = audio_->Drain(&pcm_);
    if (samples > 0 && haveNextSample_) HandleAudio(pcm_.data(), samples, nextSample_);
  } else if (holding_) {
    // The last frame shows until its own end.
    if (!FillSlots(heldEnd_ - halfSlot_)) return;
  }
  if (!deliveredAny_ && settings_.start > 0 && lastDataStart_ >= 0) {
    // The file had data, all of it before the start: said as such, not left
    // to look like a stream that holds nothing.
    if (settings_.problems) {
      char start[32];
      std::snprintf(start, sizeof start, "%g", static_cast<double>(settings_.start) / kUnitsPerSecond);
      settings_.problems->Fail(
          keStartPastEndText(start, video_ ? "the source's last picture" : "the end of the source's sound",
                             static_cast<double>(lastDataStart_) / kUnitsPerSecond));
    }
    return;
  }
  ContinueToRunEnd();
}

void StreamPipeline::ContinueToRunEnd() {
  // Only a run with an end to reach goes on: one that runs to the end of
  // the data lets each stream end with its own (codecs pad or trim a few
  // milliseconds). Video off the grid has no slots to repeat its picture in.
  if (settings_.stop < 0) return;
  const int64_t span = settings_.stop - settings_.start;
  const bool extendable = audio_ || holding_;
  if (settings_.lead && leadSlot_ >= 0 && extendable) {
    int64_t reached = deliveredEnd_;
    for (;;) {
      bool othersLeft = true;
      int64_t furthest = settings_.lead->WaitForOthers(leadSlot_, reached, stopRequested_, &othersLeft);
      if (StopRequested()) return;
      if (span >= 0) furthest = std::min(furthest, span);
      if (furthest > reached) {
        if (!Extend(furthest)) return;
        reached = std::max(furthest, deliveredEnd_);
      }
      if (othersLeft) break;
    }
  }
}

bool StreamPipeline::Extend(int64_t until) {
  if (audio_) {
    const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
    int64_t last = startSample_ + UnitsToSampleCeil(until, rate);
    if (stopSample_ >= 0) last = std::min(last, stopSample_);
    return DeliverSilence(last);
  }
  return FillSlots(settings_.start + until);
}

bool StreamPipeline::HandleFrame(AVFrame* frame) {
  if (StopRequested()) return false;
  return video_ ? HandleVideo(frame) : HandleAudioFrame(frame);
}

bool StreamPipeline::HandleAudioFrame(AVFrame* frame) {
  const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
  const int samples = audio_->Convert(*frame, &pcm_);
  if (samples <= 0) return true;
  int64_t first = haveNextSample_ ? nextSample_ : 0;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE) {
    const int64_t stated = av_rescale_q(frame->best_effort_timestamp, stream_->time_base, AVRational{1, rate}) -
                           av_rescale(origin_, rate, kUnitsPerSecond);
    // Containers that keep times in milliseconds jitter by a fraction of a
    // block; follow on from the previous block unless the time jumps. The
    // 20 ms this allows is also the most the sound can drift from its times.
    if (!haveNextSample_ || std::llabs(stated - nextSample_) > rate / 50) first = stated;
  }
  lastDataStart_ = std::max<int64_t>(0, SamplesToUnits(first + samples, rate));
  return HandleAudio(pcm_.data(), samples, first);
}

bool StreamPipeline::HandleAudio(const uint8_t* data, int samples, int64_t firstSample) {
  const int blockAlign = settings_.type.wave.nBlockAlign;
  nextSample_ = firstSample + samples;
  haveNextSample_ = true;

  const bool stops = stopSample_ >= 0;
  // What the file lacks before this block, the timeline has as silence.
  if (firstSample > written_ && !DeliverSilence(stops ? std::min(firstSample, stopSample_) : firstSample)) return false;
  if (stops && written_ >= stopSample_) return false;
  // Samples that run back over what was delivered are cut.
  const int64_t from = std::max(firstSample, written_);
  const int64_t to = stops ? std::min(firstSample + samples, stopSample_) : firstSample + samples;
  if (to <= from) return true;

  const int32_t bytes = static_cast<int32_t>((to - from) * blockAlign);
  if (sample_.GetSize() < bytes) sample_.Allocate(bytes);
  std::memcpy(sample_.Data(), data + (from - firstSample) * blockAlign, static_cast<size_t>(bytes));
  sample_.SetActualDataLength(bytes);
  if (!DeliverAudio(from, to)) return false;
  return !(stops && written_ >= stopSample_);
}

bool StreamPipeline::DeliverSilence(int64_t until) {
  const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
  const int blockAlign = settings_.type.wave.nBlockAlign;
  // Blocks of a tenth of a second, like a decoder's, however long the hole.
  const int64_t most = std::max(1, rate / 10);
  while (written_ < until) {
    const int64_t count = std::min(until - written_, most);
    const int32_t bytes = static_cast<int32_t>(count * blockAlign);
    if (sample_.GetSize() < bytes) sample_.Allocate(bytes);
    std::memset(sample_.Data(), 0, static_cast<size_t>(bytes));
    sample_.SetActualDataLength(bytes);
    if (!DeliverAudio(written_, written_ + count)) return false;
  }
  return true;
}

bool StreamPipeline::DeliverAudio(int64_t from, int64_t to) {
  const int rate = static_cast<int>(settings_.type.wave.nSamplesPerSec);
  if (!Deliver(SamplesToUnits(from - startSample_, rate), SamplesToUnits(to - startSample_, rate))) return false;
  written_ = to;
  return true;
}

bool StreamPipeline::HandleVideo(AVFrame* frame) {
  int64_t start = nextVideoStart_;
  if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
    start = av_rescale_q(frame->best_effort_timestamp, stream_->time_base, kUnits) - origin_;
  const int64_t duration =
      frame->pkt_duration > 0 ? av_rescale_q(frame->pkt_duration, stream_->time_base, kUnits) : frameDuration_;
  int64_t end = start + duration;
  nextVideoStart_ = end;
  lastDataStart_ = std::max<int64_t>(0, start);
  if (held_) return PlaceOnGrid(frame, start, end);

  if (settings_.stop >= 0 && start >= settings_.stop) return false;
  if (end <= settings_.start) return true;
  start = std::max(start, settings_.start);
  if (settings_.stop >= 0) end = std::min(end, settings_.stop);
  if (!video_->Convert(*frame, sample_.Data())) return true;  // an unconvertible frame is skipped
  sample_.SetActualDataLength(video_->FrameBytes());
  return Deliver(start - settings_.start, end - settings_.start);
}

bool StreamPipeline::PlaceOnGrid(AVFrame* frame, int64_t start, int64_t end) {
  // The slots before the new frame's own (it is nearer from half a slot
  // before its time on) show the frame held until now.
  if (holding_ && !FillSlots(start - halfSlot_)) return false;
  av_frame_unref(held_.get());
  av_frame_move_ref(held_.get(), frame);
  holding_ = true;
  heldConverted_ = false;
  heldEnd_ = end;
  if (settings_.stop >= 0 && start >= settings_.stop) {
    FillSlots(settings_.stop);
    return false;
  }
  return true;
}

bool StreamPipeline::FillSlots(int64_t limit) {
  if (settings_.stop >= 0) limit = std::min(limit, settings_.stop);
  while (SlotTime(nextSlot_) < limit) {
    // Converted once, on its first slot: a frame that shows in none (where
    // frames come denser than the grid) costs no conversion.
    if (!heldConverted_) {
      heldConverted_ = true;
      if (video_->Convert(*held_, sample_.Data())) pictureReady_ = true;
      sample_.SetActualDataLength(video_->FrameBytes());
    }
    const int64_t slotStart = SlotTime(nextSlot_);
    int64_t slotEnd = SlotTime(nextSlot_ + 1);
    if (settings_.stop >= 0) slotEnd = std::min(slotEnd, settings_.stop);
    ++nextSlot_;
    // Until a first picture converts there is nothing to show.
    if (!pictureReady_) continue;
    if (!Deliver(slotStart - settings_.start, slotEnd - settings_.start)) return false;
  }
  return true;
}

int64_t StreamPipeline::SlotTime(int64_t slot) const {
  return settings_.start + std::llround(static_cast<double>(slot) * kUnitsPerSecond / settings_.frameRate);
}

bool StreamPipeline::Deliver(int64_t start, int64_t end) {
  if (settings_.lead && !settings_.lead->WaitToDeliver(leadSlot_, start, stopRequested_)) return false;
  if (!WaitForTime(start)) return false;
  sample_.SetTime(start, end);
  const HRESULT received = renderer_->Receive(&sample_);
  if (received == E_OUTOFMEMORY && settings_.problems) settings_.problems->FailForMemory();
  if (Failed(received)) return false;
  deliveredEnd_ = std::max(deliveredEnd_, end);
  deliveredAny_ = true;
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
