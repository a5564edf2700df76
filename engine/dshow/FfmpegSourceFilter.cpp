#include "FfmpegSourceFilter.h"

#include "BaseRenderer.h"
#include "OfferedMediaTypes.h"

FfmpegSourceFilter::FfmpegSourceFilter(std::string path) : MediaFilter("FfmpegSourceFilter"), path_(std::move(path)) {}

FfmpegSourceFilter::~FfmpegSourceFilter() {
  RequestStop();
  JoinStreams();
  DisconnectAll();
}

HRESULT FfmpegSourceFilter::Open() {
  const HRESULT result = file_.Open(path_);
  if (Succeeded(result)) connections_.assign(file_.Streams().size(), Connection());
  return result;
}

bool FfmpegSourceFilter::CanDeliver(size_t stream) {
  Connection& connection = connections_[stream];
  if (connection.deliverable < 0) {
    const bool decodable = OpenDecoder(file_.Stream(stream)) != nullptr;
    connection.deliverable = decodable && !OfferedMediaTypes(file_, stream).empty() ? 1 : 0;
  }
  return connection.deliverable == 1;
}

HRESULT FfmpegSourceFilter::Connect(size_t stream, BaseRenderer* renderer) {
  if (stream >= connections_.size()) return MG_E_NO_STREAM;
  if (connections_[stream].renderer || !CanDeliver(stream)) return MG_E_CANNOT_CONNECT;
  for (const MediaType& type : OfferedMediaTypes(file_, stream)) {
    if (renderer->CheckMediaType(type) == S_OK) {
      connections_[stream].renderer = renderer;
      connections_[stream].type = type;
      renderer->SetConnection(type);
      return S_OK;
    }
  }
  return MG_E_CANNOT_CONNECT;
}

HRESULT FfmpegSourceFilter::ConnectFirstSuitable(BaseRenderer* renderer) {
  for (size_t stream = 0; stream < connections_.size(); ++stream)
    if (!connections_[stream].renderer && Succeeded(Connect(stream, renderer))) return S_OK;
  return MG_E_CANNOT_CONNECT;
}

void FfmpegSourceFilter::Disconnect(BaseRenderer* renderer) {
  for (Connection& connection : connections_) {
    if (connection.renderer == renderer) {
      renderer->Disconnect();
      connection.renderer = nullptr;
      connection.type = MediaType();
    }
  }
}

void FfmpegSourceFilter::DisconnectAll() {
  for (Connection& connection : connections_)
    if (connection.renderer) Disconnect(connection.renderer);
}

std::vector<BaseRenderer*> FfmpegSourceFilter::ConnectedRenderers() const {
  std::vector<BaseRenderer*> renderers;
  for (const Connection& connection : connections_)
    if (connection.renderer) renderers.push_back(connection.renderer);
  return renderers;
}

bool FfmpegSourceFilter::StartStreaming(const StreamRunSettings& run, std::atomic<int64_t>* latestEnd) {
  for (size_t stream = 0; stream < connections_.size(); ++stream) {
    const Connection& connection = connections_[stream];
    if (!connection.renderer) continue;
    StreamRunSettings settings = run;
    settings.path = path_;
    settings.containerIndex = file_.Streams()[stream].index;
    settings.kind = file_.Streams()[stream].kind;
    settings.type = connection.type;
    pipelines_.push_back(std::make_unique<StreamPipeline>(std::move(settings), connection.renderer, latestEnd));
  }
  bool started = true;
  for (auto& pipeline : pipelines_) started = pipeline->Start() && started;
  return started;
}

void FfmpegSourceFilter::RequestStop() {
  for (auto& pipeline : pipelines_) pipeline->RequestStop();
}

void FfmpegSourceFilter::JoinStreams() {
  for (auto& pipeline : pipelines_) pipeline->Join();
  pipelines_.clear();
}
