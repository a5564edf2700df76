// The source filter: a media file opened with libavformat, whose audio and
// video streams (in container order, attached pictures left out) can each be
// connected to one renderer. While the graph runs, every connected stream is
// decoded on its own thread (StreamPipeline.h); unconnected streams are not
// read at all.
//
// Created by FilterGraph::AddSourceFilter (or RenderFile), which owns it.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "MediaFile.h"
#include "MediaFilter.h"
#include "MediaResult.h"
#include "MediaType.h"
#include "StreamPipeline.h"

class BaseRenderer;
class StreamLeadLimit;

class FfmpegSourceFilter : public MediaFilter {
 public:
  ~FfmpegSourceFilter() override;

  const std::string& Path() const { return path_; }
  size_t StreamCount() const { return file_.Streams().size(); }
  StreamKind StreamKindAt(size_t stream) const { return file_.Streams()[stream].kind; }
  /// The renderer stream `stream` is connected to, or null.
  BaseRenderer* ConnectedRenderer(size_t stream) const { return connections_[stream].renderer; }

 private:
  friend class FilterGraph;
  explicit FfmpegSourceFilter(std::string path);
  /// Opens the file: S_OK or MG_E_CANNOT_OPEN_FILE (reason in FailureReason).
  HRESULT Open();
  const std::string& FailureReason() const { return file_.FailureReason(); }

  /// True when stream `stream` has a decoder and a type to offer.
  bool CanDeliver(size_t stream);
  /// Offers the stream's types to `renderer` in order; S_OK when one is
  /// accepted, MG_E_CANNOT_CONNECT when none is.
  HRESULT Connect(size_t stream, BaseRenderer* renderer);
  /// Connects the first unconnected stream that `renderer` accepts.
  HRESULT ConnectFirstSuitable(BaseRenderer* renderer);
  void Disconnect(BaseRenderer* renderer);
  void DisconnectAll();
  std::vector<BaseRenderer*> ConnectedRenderers() const;

  /// Starts one StreamPipeline per connected stream, each with the run's
  /// settings `run` completed by its own stream's (path, index, kind, type).
  /// False when a stream's thread cannot be made (the run's StreamProblems
  /// say so); the others run and are stopped as usual.
  [[nodiscard]] bool StartStreaming(const StreamRunSettings& run, std::atomic<int64_t>* latestEnd);
  void RequestStop();
  void JoinStreams();

  struct Connection {
    BaseRenderer* renderer = nullptr;
    MediaType type;
    /// -1 not yet checked, 0 no, 1 yes.
    int deliverable = -1;
  };

  std::string path_;
  MediaFile file_;
  std::vector<Connection> connections_;
  std::vector<std::unique_ptr<StreamPipeline>> pipelines_;
};
