// The renderer base: a filter at the end of one stream of a FilterGraph.
//
// A derived renderer overrides:
// - CheckMediaType, asked during connection with each type the source offers
//   in its order of preference; S_OK accepts (that type is then the
//   connection's), anything else refuses.
// - DoRenderSample, called once per sample on the stream's own thread. The
//   sample is borrowed for the call only. The call may block: that holds back
//   this stream alone, and a Stop of the graph waits until the call returns.
// - OnStartStreaming, called when the graph runs, before the first sample.
// - EndOfStream, called on the stream's thread at the end of the stream (the
//   end of the file or the stop position, or a source that failed), and by
//   anyone who wants to end the stream early. An override calls
//   BaseRenderer::EndOfStream last.
//
// A DoRenderSample that waits for something of its own (the engine's filters
// wait for their listeners) waits through WaitUnlessStopping, so that a Stop
// of the graph, which joins the stream threads, cannot hang on it.
//
// The base's EndOfStream marks the stream ended, after which Receive refuses
// every further sample (MG_E_SAMPLE_REJECTED_EOS) until the graph runs again,
// and, while the graph runs, tells it that this renderer has completed (once
// per run). Receive before the graph runs or after it stopped is refused with
// MG_E_WRONG_STATE.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "MediaFilter.h"
#include "MediaResult.h"
#include "MediaSample.h"
#include "MediaType.h"
#include "keEvent.h"

class BaseRenderer : public MediaFilter {
 public:
  explicit BaseRenderer(const char* name) : MediaFilter(name) {}
  /// Takes the renderer out of its graph (stopping the graph). Destroy a
  /// renderer only while its graph is stopped: a running stream would call
  /// the overrides of an object half destroyed.
  ~BaseRenderer() override;

  virtual HRESULT CheckMediaType(const MediaType& type) = 0;
  virtual HRESULT DoRenderSample(MediaSample* sample) = 0;
  virtual HRESULT OnStartStreaming() { return S_OK; }
  virtual HRESULT EndOfStream();

  /// Delivers one sample: DoRenderSample's result, or a refusal (see above).
  HRESULT Receive(MediaSample* sample);

  bool IsConnected() const;
  /// The accepted type; meaningful only while connected.
  MediaType ConnectionMediaType() const;
  /// True once the stream has ended in the current (or last) run.
  bool IsEndOfStream() const;
  /// True from the moment the graph is asked to stop until it runs again.
  bool IsStopRequested() const { return stopRequested_.load(); }

 protected:
  /// Waits until `event` is set (true) or the graph is asked to stop (false).
  bool WaitUnlessStopping(keEvent& event);

 private:
  friend class FilterGraph;
  friend class FfmpegSourceFilter;
  void SetConnection(const MediaType& type);
  void Disconnect();
  /// The graph runs: clears the end of stream, then OnStartStreaming.
  void BeginStreaming(FilterGraph* graph);
  void EndStreaming();
  /// The graph is about to stop: waits in WaitUnlessStopping give up.
  void RequestStopStreaming() { stopRequested_ = true; }

  mutable std::mutex mutex_;
  bool connected_ = false;
  MediaType connectionType_;
  bool streaming_ = false;
  bool endOfStream_ = false;
  bool completionSent_ = false;
  FilterGraph* completionTarget_ = nullptr;
  std::atomic<bool> stopRequested_{false};
};
