#include "BaseRenderer.h"

#include "FilterGraph.h"

namespace {

/// How often a waiting renderer looks whether the graph is being stopped.
constexpr uint32_t kStopPollMs = 20;

}  // namespace

BaseRenderer::~BaseRenderer() {
  if (Graph()) Graph()->RemoveFilter(this);
}

HRESULT BaseRenderer::EndOfStream() {
  FilterGraph* target = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    endOfStream_ = true;
    if (streaming_ && !completionSent_) {
      completionSent_ = true;
      target = completionTarget_;
    }
  }
  if (target) target->OnRendererComplete(this);
  return S_OK;
}

HRESULT BaseRenderer::Receive(MediaSample* sample) {
  if (!sample) return E_POINTER;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!streaming_) return MG_E_WRONG_STATE;
    if (endOfStream_) return MG_E_SAMPLE_REJECTED_EOS;
  }
  return DoRenderSample(sample);
}

bool BaseRenderer::IsConnected() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connected_;
}

MediaType BaseRenderer::ConnectionMediaType() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connectionType_;
}

bool BaseRenderer::IsEndOfStream() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return endOfStream_;
}

bool BaseRenderer::WaitUnlessStopping(keEvent& event) {
  while (!event.Wait(kStopPollMs))
    if (IsStopRequested()) return false;
  return true;
}

void BaseRenderer::SetConnection(const MediaType& type) {
  std::lock_guard<std::mutex> lock(mutex_);
  connected_ = true;
  connectionType_ = type;
}

void BaseRenderer::Disconnect() {
  std::lock_guard<std::mutex> lock(mutex_);
  connected_ = false;
  connectionType_ = MediaType();
}

void BaseRenderer::BeginStreaming(FilterGraph* graph) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    streaming_ = true;
    endOfStream_ = false;
    stopRequested_ = false;
    completionSent_ = false;
    completionTarget_ = graph;
  }
  OnStartStreaming();
}

void BaseRenderer::EndStreaming() {
  std::lock_guard<std::mutex> lock(mutex_);
  streaming_ = false;
  completionTarget_ = nullptr;
}
