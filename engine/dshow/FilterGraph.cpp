#include "FilterGraph.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "BaseRenderer.h"
#include "FfmpegSourceFilter.h"
#include "NullRenderer.h"
#include "platform/keManualResetEvent.h"

FilterGraph::FilterGraph() = default;

FilterGraph::~FilterGraph() {
  std::lock_guard<std::mutex> lock(controlMutex_);
  StopLocked();
  // Sources first: they hold the connections to the renderers.
  for (Entry& entry : filters_)
    if (auto* source = dynamic_cast<FfmpegSourceFilter*>(entry.filter)) source->DisconnectAll();
  for (Entry& entry : filters_) entry.filter->graph_ = nullptr;
  filters_.clear();
}

HRESULT FilterGraph::AddSourceFilter(const std::string& path, const char* name, FfmpegSourceFilter** source) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  return AddSourceLocked(path, name, source);
}

HRESULT FilterGraph::AddSourceLocked(const std::string& path, const char* name, FfmpegSourceFilter** source) {
  if (source) *source = nullptr;
  std::unique_ptr<FfmpegSourceFilter> filter(new FfmpegSourceFilter(path));
  const HRESULT result = filter->Open();
  if (Failed(result)) {
    failureReason_ = filter->FailureReason();
    return result;
  }
  if (name) filter->name_ = name;
  filter->graph_ = this;
  if (source) *source = filter.get();
  Entry entry;
  entry.filter = filter.get();
  entry.owned = std::move(filter);
  filters_.push_back(std::move(entry));
  return S_OK;
}

HRESULT FilterGraph::AddFilter(MediaFilter* filter, const char* name) {
  if (!filter) return E_POINTER;
  std::lock_guard<std::mutex> lock(controlMutex_);
  if (filter->graph_) return MG_E_WRONG_STATE;
  if (name) filter->name_ = name;
  filter->graph_ = this;
  Entry entry;
  entry.filter = filter;
  filters_.push_back(std::move(entry));
  return S_OK;
}

HRESULT FilterGraph::RemoveFilter(MediaFilter* filter) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  auto found =
      std::find_if(filters_.begin(), filters_.end(), [filter](const Entry& entry) { return entry.filter == filter; });
  if (found == filters_.end()) return MG_E_NOT_IN_GRAPH;
  StopLocked();
  if (auto* source = dynamic_cast<FfmpegSourceFilter*>(filter)) {
    source->DisconnectAll();
  } else if (auto* renderer = dynamic_cast<BaseRenderer*>(filter)) {
    if (FfmpegSourceFilter* source = SourceConnectedTo(renderer)) source->Disconnect(renderer);
  }
  filter->graph_ = nullptr;
  filters_.erase(found);
  return S_OK;
}

std::vector<MediaFilter*> FilterGraph::EnumFilters() const {
  std::lock_guard<std::mutex> lock(controlMutex_);
  std::vector<MediaFilter*> filters;
  for (const Entry& entry : filters_) filters.push_back(entry.filter);
  return filters;
}

HRESULT FilterGraph::RenderStream(FfmpegSourceFilter* source, BaseRenderer* renderer) {
  if (!source || !renderer) return E_POINTER;
  std::lock_guard<std::mutex> lock(controlMutex_);
  if (source->graph_ != this || renderer->graph_ != this) return MG_E_NOT_IN_GRAPH;
  if (IsRunning()) return MG_E_WRONG_STATE;
  if (renderer->IsConnected()) return MG_E_ALREADY_CONNECTED;
  return source->ConnectFirstSuitable(renderer);
}

HRESULT FilterGraph::RenderFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  if (IsRunning()) return MG_E_WRONG_STATE;
  FfmpegSourceFilter* source = nullptr;
  const HRESULT opened = AddSourceLocked(path, path.c_str(), &source);
  if (Failed(opened)) return opened;

  bool audioFailed = false, videoFailed = false, anyRendered = false;
  for (size_t stream = 0; stream < source->StreamCount(); ++stream) {
    auto renderer = std::make_unique<NullRenderer>();
    if (Succeeded(source->Connect(stream, renderer.get()))) {
      anyRendered = true;
      renderer->graph_ = this;
      Entry entry;
      entry.filter = renderer.get();
      entry.owned = std::move(renderer);
      filters_.push_back(std::move(entry));
    } else if (source->StreamKindAt(stream) == StreamKind::Audio) {
      audioFailed = true;
    } else {
      videoFailed = true;
    }
  }
  if (!anyRendered) return MG_E_CANNOT_RENDER;
  if (audioFailed && videoFailed) return VFW_S_PARTIAL_RENDER;
  if (audioFailed) return VFW_S_AUDIO_NOT_RENDERED;
  if (videoFailed) return VFW_S_VIDEO_NOT_RENDERED;
  return S_OK;
}

void FilterGraph::SetReferenceClock(bool enabled) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  clock_ = enabled;
}

void FilterGraph::SetStreamLead(int64_t lead) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  streamLead_ = lead;
}

void FilterGraph::SetVideoFrameRate(double framesPerSecond) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  videoFrameRate_ = framesPerSecond > 0.0 && std::isfinite(framesPerSecond) ? framesPerSecond : 0.0;
}

bool FilterGraph::HasReferenceClock() const {
  std::lock_guard<std::mutex> lock(controlMutex_);
  return clock_;
}

void FilterGraph::PresetJoins(const std::string& path, std::vector<int64_t> shifts) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  presetJoins_[path] = std::move(shifts);
}

HRESULT FilterGraph::SetPositions(int64_t start, int64_t stop) {
  std::lock_guard<std::mutex> lock(controlMutex_);
  start_ = std::max<int64_t>(0, start);
  stop_ = stop < 0 ? -1 : stop;
  return S_OK;
}

HRESULT FilterGraph::GetCurrentPosition(int64_t* position) const {
  if (!position) return E_POINTER;
  const int64_t latest = latestEnd_.load();
  int64_t reached = start_.load() + std::max<int64_t>(0, latest);
  const int64_t stop = stop_.load();
  if (stop >= 0) reached = std::min(reached, std::max(stop, start_.load()));
  *position = reached;
  return S_OK;
}

HRESULT FilterGraph::Run() {
  std::lock_guard<std::mutex> lock(controlMutex_);
  if (IsRunning()) return S_OK;
  std::vector<BaseRenderer*> renderers;
  const std::vector<FfmpegSourceFilter*> sources = Sources();
  for (FfmpegSourceFilter* source : sources)
    for (BaseRenderer* renderer : source->ConnectedRenderers()) renderers.push_back(renderer);
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    running_ = true;
    completed_ = renderers.empty();
    pendingRenderers_ = static_cast<int>(renderers.size());
    runRenderers_ = renderers;
  }
  latestEnd_ = -1;
  problems_.Clear();
  joins_.Clear();
  for (const auto& [path, shifts] : presetJoins_) joins_.Preset(path, shifts);
  // One stream per connected renderer; each takes its slot as it is made.
  lead_.Reset(streamLead_, renderers.size());
  for (BaseRenderer* renderer : renderers) renderer->BeginStreaming(this);
  StreamRunSettings run;
  run.start = start_;
  run.stop = stop_;
  run.paced = clock_;
  run.runStart = std::chrono::steady_clock::now();
  run.frameRate = videoFrameRate_;
  run.lead = &lead_;
  run.problems = &problems_;
  run.joins = &joins_;
  bool started = true;
  for (FfmpegSourceFilter* source : sources) started = source->StartStreaming(run, &latestEnd_) && started;
  stateChanged_.notify_all();
  return started ? S_OK : E_FAIL;
}

HRESULT FilterGraph::Stop() {
  std::lock_guard<std::mutex> lock(controlMutex_);
  return StopLocked();
}

HRESULT FilterGraph::StopLocked() {
  std::vector<BaseRenderer*> renderers;
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    if (!running_) return S_OK;
    running_ = false;
    renderers.swap(runRenderers_);
  }
  stateChanged_.notify_all();
  for (BaseRenderer* renderer : renderers) renderer->RequestStopStreaming();
  const std::vector<FfmpegSourceFilter*> sources = Sources();
  for (FfmpegSourceFilter* source : sources) source->RequestStop();
  for (FfmpegSourceFilter* source : sources) source->JoinStreams();
  for (BaseRenderer* renderer : renderers) renderer->EndStreaming();
  return S_OK;
}

int64_t FilterGraph::CompletedEnd() const {
  std::lock_guard<std::mutex> state(stateMutex_);
  return completed_ ? latestEnd_.load() : -1;
}

bool FilterGraph::IsRunning() const {
  std::lock_guard<std::mutex> state(stateMutex_);
  return running_;
}

HRESULT FilterGraph::WaitForCompletion(uint32_t milliseconds, int32_t* eventCode) {
  if (eventCode) *eventCode = 0;
  std::unique_lock<std::mutex> state(stateMutex_);
  auto settled = [this] { return !running_ || pendingRenderers_ == 0; };
  if (milliseconds == kePlatform::kInfinite) {
    stateChanged_.wait(state, settled);
  } else if (!stateChanged_.wait_for(state, std::chrono::milliseconds(milliseconds), settled)) {
    return E_ABORT;
  }
  if (!running_) return MG_E_WRONG_STATE;
  if (eventCode) *eventCode = EC_COMPLETE;
  return S_OK;
}

std::string FilterGraph::LastFailureReason() const {
  std::lock_guard<std::mutex> lock(controlMutex_);
  return failureReason_;
}

void FilterGraph::OnRendererComplete(BaseRenderer* renderer) {
  {
    std::lock_guard<std::mutex> state(stateMutex_);
    if (!running_) return;
    if (std::find(runRenderers_.begin(), runRenderers_.end(), renderer) == runRenderers_.end()) return;
    if (pendingRenderers_ > 0) --pendingRenderers_;
    if (pendingRenderers_ == 0) completed_ = true;
  }
  stateChanged_.notify_all();
}

FfmpegSourceFilter* FilterGraph::SourceConnectedTo(BaseRenderer* renderer) const {
  for (FfmpegSourceFilter* source : Sources())
    for (BaseRenderer* connected : source->ConnectedRenderers())
      if (connected == renderer) return source;
  return nullptr;
}

std::vector<FfmpegSourceFilter*> FilterGraph::Sources() const {
  std::vector<FfmpegSourceFilter*> sources;
  for (const Entry& entry : filters_)
    if (auto* source = dynamic_cast<FfmpegSourceFilter*>(entry.filter)) sources.push_back(source);
  return sources;
}
