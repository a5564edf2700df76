// One connected stream of a running graph, on its own thread: its own
// demuxer over the file (the other streams discarded), its decoder, the
// conversion to the negotiated type, and the delivery to its renderer.
//
// Giving every stream its own reader of the file keeps the streams apart: a
// renderer that blocks in DoRenderSample holds back only its own stream, and
// nothing is queued between a demuxer and a decoder, so memory stays flat.
//
// Times: a sample's times are stream times in 100-ns units, the media time
// (the file's timeline, 0 at its first picture: see MediaFile::Origin) minus
// the run's start position. Everything before the start is dropped and the
// stream ends at the stop position; a sample that straddles either is cut
// to it. With pacing, each sample is delivered no earlier than its start
// time after the run began; with a lead limit, no further ahead of the run's
// other streams than it allows.
//
// One steady timeline: audio is delivered without gaps or overlaps from the
// start position on. A late start or a hole in the file's audio becomes
// silence, audio that runs back over what was delivered is cut, and times
// that merely jitter are followed on. Video, given a frame rate, is
// delivered on a grid of that rate counted from the start position: each
// slot carries the frame shown at the slot's time (the latest frame starting
// no later than half a slot after it), so frames repeat across holes and are
// dropped where they come denser. Encoders that count frames and samples
// then keep picture and sound together.
//
// Files whose times start over (joined clips: see TimestampJoins) are read on
// across each join, the times after it shifted to follow on.
//
// In a run with a stop position, a stream whose data end before it (a file
// cut off or damaged, a join whose later part lacks the stream) is continued
// with its last picture or with silence as far as the run's other streams
// go, so that picture and sound end together.
//
// Ending: at the end of the file, at the stop position, when the renderer
// refuses a sample, or when the file cannot be read, the thread calls the
// renderer's EndOfStream and ends. A read error is not an end of file: it is
// reported to the run's StreamProblems as a failure, and a damaged packet that
// the decoder refuses is skipped and counted there as a warning. After RequestStop it ends without calling
// EndOfStream, as soon as a DoRenderSample in progress has returned. Memory
// that runs short (in the demuxer, the decoder, the conversion or the
// renderer) is a failure of the run, never told as damage in the file.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DecoderMemoryWatch.h"
#include "MediaFile.h"
#include "MediaSample.h"
#include "MediaType.h"

class BaseRenderer;
class StreamLeadLimit;
class StreamProblems;
class AudioFrameConverter;
class JoinedStreamTimes;
class TimestampJoins;
class VideoFrameConverter;

struct StreamRunSettings {
  std::string path;
  /// The stream's index in the container.
  int containerIndex = -1;
  StreamKind kind = StreamKind::Audio;
  /// The type the renderer accepted.
  MediaType type;
  /// Media time in 100-ns units from which samples are delivered.
  int64_t start = 0;
  /// Media time at which the stream ends; below 0: at the end of the file.
  int64_t stop = -1;
  /// Deliver no faster than media time (true) or as fast as decoding goes.
  bool paced = false;
  std::chrono::steady_clock::time_point runStart;
  /// Keeps this stream within a lead of the run's other streams; may be null.
  StreamLeadLimit* lead = nullptr;
  /// Receives a read error and skipped packets; may be null.
  StreamProblems* problems = nullptr;
  /// Video: the grid's frames per second; 0 delivers frames as decoded.
  double frameRate = 0.0;
  /// Shared by the run's streams over files whose times may start over; may
  /// be null.
  TimestampJoins* joins = nullptr;
};

class StreamPipeline {
 public:
  /// `latestEnd` receives the largest stream end time delivered (shared by
  /// the streams of one run); it must outlive the pipeline.
  StreamPipeline(StreamRunSettings settings, BaseRenderer* renderer, std::atomic<int64_t>* latestEnd);
  /// Stops and joins the thread.
  ~StreamPipeline();
  StreamPipeline(const StreamPipeline&) = delete;
  StreamPipeline& operator=(const StreamPipeline&) = delete;

  /// Starts the stream's thread; false (with the failure given to the run's
  /// StreamProblems) when no thread can be made.
  [[nodiscard]] bool Start();
  /// Asks the thread to end; does not wait.
  void RequestStop();
  /// Waits until the thread has ended.
  void Join();

 private:
  void Run();
  bool Open();
  /// Reads and decodes to the end; returns when the stream is finished.
  void Stream();
  /// False once the stream is finished (stop position, refusal, stop request).
  bool HandleFrame(AVFrame* frame);
  bool HandleVideo(AVFrame* frame);
  /// Holds `frame` (taking its reference) for the grid slots it covers.
  bool PlaceOnGrid(AVFrame* frame, int64_t start, int64_t end);
  /// Delivers the held frame in every slot that starts before `limit`.
  bool FillSlots(int64_t limit);
  int64_t SlotTime(int64_t slot) const;
  bool HandleAudioFrame(AVFrame* frame);
  bool HandleAudio(const uint8_t* data, int samples, int64_t firstSample);
  /// Delivers silence up to sample `until` of the timeline.
  bool DeliverSilence(int64_t until);
  /// Delivers sample_ as the timeline's samples [from, to).
  bool DeliverAudio(int64_t from, int64_t to);
  bool Deliver(int64_t start, int64_t end);
  bool WaitForTime(int64_t streamTime);
  /// After the end of this stream's data, in a run with a stop: goes on (the
  /// last picture, or silence) as far as the run's other streams reach, so
  /// that they all end together.
  void ContinueToRunEnd();
  /// Delivers the last picture or silence up to stream time `until`.
  bool Extend(int64_t until);
  bool StopRequested() const { return stopRequested_.load(); }

  StreamRunSettings settings_;
  BaseRenderer* renderer_;
  std::atomic<int64_t>* latestEnd_;
  int leadSlot_ = -1;
  std::atomic<bool> stopRequested_{false};
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  std::thread thread_;

  MediaFile file_;
  AVStream* stream_ = nullptr;
  CodecContextPtr decoder_;
  DecoderMemoryWatch decoderMemory_;
  int64_t origin_ = 0;
  MediaSample sample_;
  std::unique_ptr<VideoFrameConverter> video_;
  std::unique_ptr<AudioFrameConverter> audio_;
  std::unique_ptr<JoinedStreamTimes> joinedTimes_;
  /// Stream time where the last delivered sample ended.
  int64_t deliveredEnd_ = 0;
  bool deliveredAny_ = false;
  /// Media time where the latest picture decoded starts, or where the sound
  /// decoded so far ends; -1 before any.
  int64_t lastDataStart_ = -1;
  std::vector<uint8_t> pcm_;
  int64_t frameDuration_ = 400000;
  int64_t nextVideoStart_ = 0;
  /// The grid: the frame shown until the next one starts, and where it ends.
  FramePtr held_;
  bool holding_ = false;
  bool heldConverted_ = false;
  /// sample_ holds a picture that a slot can show.
  bool pictureReady_ = false;
  int64_t heldEnd_ = 0;
  int64_t nextSlot_ = 0;
  int64_t halfSlot_ = 0;
  /// Audio positions in samples at the negotiated rate (media time): where
  /// the file's next block is expected, and the end of what was delivered.
  int64_t nextSample_ = 0;
  bool haveNextSample_ = false;
  int64_t startSample_ = 0;
  int64_t written_ = 0;
  int64_t stopSample_ = -1;
};
