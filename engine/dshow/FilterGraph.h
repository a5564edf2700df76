// The media graph: a source filter per file and the renderers its streams are
// connected to, run together.
//
//   file ─▶ FfmpegSourceFilter ─┬─ stream thread: demux, decode, convert ─▶ renderer
//                               └─ stream thread: demux, decode, convert ─▶ renderer
//
// Build: AddSourceFilter, AddFilter (renderers), RenderStream (connects the
// source's first unconnected stream that the renderer accepts), or RenderFile
// (everything into null renderers, as a test of the whole file).
// Run: SetPositions (before Run), optionally SetReferenceClock(false) so the
// streams run as fast as decoding goes, SetStreamLead so that none runs far
// ahead of the others and SetVideoFrameRate for video on a steady clock, Run,
// WaitForCompletion, Stop.
// Tear down: RemoveFilter for each of EnumFilters, or destroy the graph.
//
// Completion: the run completes when every connected renderer has rendered
// the end of its stream (BaseRenderer::EndOfStream); a run without connected
// renderers is complete at once. Unconnected renderers take no part in a run:
// they get no OnStartStreaming, no samples and no end of stream.
//
// Stop tells every renderer that the graph stops (BaseRenderer::
// WaitUnlessStopping gives up), asks every stream thread to end and joins
// them: it returns once every DoRenderSample in progress has returned. Stop, RemoveFilter and the
// destructor must not be called on a stream thread (from inside a renderer).
// Run and Stop may be called from different threads; WaitForCompletion may
// wait on any thread and returns as soon as the graph is stopped.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "MediaResult.h"
#include "StreamLeadLimit.h"
#include "StreamProblems.h"
#include "TimestampJoins.h"

class BaseRenderer;
class FfmpegSourceFilter;
class MediaFilter;

class FilterGraph {
 public:
  FilterGraph();
  /// Stops the graph, disconnects and removes every filter (destroying the
  /// ones the graph created).
  ~FilterGraph();
  FilterGraph(const FilterGraph&) = delete;
  FilterGraph& operator=(const FilterGraph&) = delete;

  /// Opens `path` as a new source filter named `name` and adds it; the graph
  /// owns it. MG_E_CANNOT_OPEN_FILE when the file is not readable media
  /// (LastFailureReason tells why).
  HRESULT AddSourceFilter(const std::string& path, const char* name, FfmpegSourceFilter** source);
  /// Adds a filter the caller keeps owning, under `name` (null keeps its own).
  HRESULT AddFilter(MediaFilter* filter, const char* name);
  /// Stops the graph if it runs, disconnects the filter and removes it; a
  /// filter the graph created is destroyed.
  HRESULT RemoveFilter(MediaFilter* filter);
  /// The filters in the order they were added.
  std::vector<MediaFilter*> EnumFilters() const;

  /// Connects the first unconnected stream of `source` that `renderer`
  /// accepts; both must be in this graph and the graph stopped.
  HRESULT RenderStream(FfmpegSourceFilter* source, BaseRenderer* renderer);
  /// Opens `path` and connects every stream to a null renderer of its own.
  /// S_OK when every audio and video stream was connected;
  /// VFW_S_AUDIO_NOT_RENDERED or VFW_S_VIDEO_NOT_RENDERED when only the
  /// streams of that kind failed; VFW_S_PARTIAL_RENDER when streams of both
  /// kinds failed but some connected; MG_E_CANNOT_RENDER when none did;
  /// MG_E_CANNOT_OPEN_FILE when the file is not readable media.
  HRESULT RenderFile(const std::string& path);

  /// With a reference clock (the default) samples are delivered at the pace
  /// of their times; without one as fast as decoding goes. Takes effect at Run.
  void SetReferenceClock(bool enabled);
  bool HasReferenceClock() const;
  /// Holds every stream back while its next sample starts more than `lead`
  /// (100-ns units) after the next sample of another stream still running;
  /// 0 (the default) lets each stream go its own pace. Takes effect at Run.
  void SetStreamLead(int64_t lead);
  /// Delivers every video stream on a grid of this many frames per second,
  /// counted from the start position: each slot carries the source frame
  /// shown at its time, so frames repeat across holes in a variable-rate
  /// stream and are dropped where they come denser, and a stream at the
  /// grid's rate passes frame for frame. 0 (the default) delivers the
  /// frames as decoded, with their own times. Takes effect at Run.
  void SetVideoFrameRate(double framesPerSecond);
  /// The shifts of the joins of the file `path` (TimestampJoins.h), as a
  /// reading of the whole file found them, for every Run: its streams then
  /// lay the joined clips out where that reading did.
  void PresetJoins(const std::string& path, std::vector<int64_t> shifts);
  /// Absolute media times in 100-ns units for the next Run: samples before
  /// `start` are dropped and the streams end at `stop` (below 0: at the end
  /// of the file). Sample times are then counted from `start`.
  HRESULT SetPositions(int64_t start, int64_t stop);
  /// The media time reached: the start plus the latest end delivered so far.
  HRESULT GetCurrentPosition(int64_t* position) const;
  /// Once the last run completed (every renderer had its end of stream):
  /// the latest end it delivered, in stream time; -1 before that.
  int64_t CompletedEnd() const;

  /// E_FAIL when a stream cannot be started (StreamFailureReason says why):
  /// the graph then runs without it, and the caller stops it.
  HRESULT Run();
  HRESULT Stop();
  bool IsRunning() const;
  /// Waits up to `milliseconds` (kePlatform::kInfinite: no limit) for the run
  /// to complete: S_OK with EC_COMPLETE, E_ABORT on time-out, MG_E_WRONG_STATE
  /// when the graph is not running or is stopped while waiting.
  HRESULT WaitForCompletion(uint32_t milliseconds, int32_t* eventCode);

  /// Why the last AddSourceFilter or RenderFile failed to open its file.
  std::string LastFailureReason() const;
  /// What the streams of the last run met: a failure (empty when none) and
  /// a warning (skipped packets; empty when none).
  std::string StreamFailureReason() const { return problems_.Failure(); }
  std::string StreamWarning() const { return problems_.Warning(); }

 private:
  friend class BaseRenderer;
  /// A renderer's end of stream while running (once per renderer and run).
  void OnRendererComplete(BaseRenderer* renderer);

  struct Entry {
    MediaFilter* filter = nullptr;
    std::unique_ptr<MediaFilter> owned;
  };
  HRESULT AddSourceLocked(const std::string& path, const char* name, FfmpegSourceFilter** source);
  HRESULT StopLocked();
  FfmpegSourceFilter* SourceConnectedTo(BaseRenderer* renderer) const;
  std::vector<FfmpegSourceFilter*> Sources() const;

  /// Serialises building, running and stopping.
  mutable std::mutex controlMutex_;
  std::vector<Entry> filters_;
  std::string failureReason_;
  bool clock_ = true;
  std::atomic<int64_t> start_{0};
  std::atomic<int64_t> stop_{-1};
  std::atomic<int64_t> latestEnd_{-1};
  int64_t streamLead_ = 0;
  double videoFrameRate_ = 0.0;
  std::map<std::string, std::vector<int64_t>> presetJoins_;
  /// Used by the streams of the current run, which are joined before it goes.
  StreamLeadLimit lead_;
  StreamProblems problems_;
  TimestampJoins joins_;

  /// Guards the run state below; never held while calling out.
  mutable std::mutex stateMutex_;
  std::condition_variable stateChanged_;
  bool running_ = false;
  bool completed_ = false;
  int pendingRenderers_ = 0;
  std::vector<BaseRenderer*> runRenderers_;
};
