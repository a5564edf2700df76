// A renderer that accepts every media type and discards what it receives.
#pragma once

#include <atomic>
#include <cstdint>

#include "BaseRenderer.h"

class NullRenderer : public BaseRenderer {
 public:
  NullRenderer() : BaseRenderer("Null Renderer") {}

  HRESULT CheckMediaType(const MediaType&) override { return S_OK; }
  HRESULT DoRenderSample(MediaSample*) override {
    ++samples_;
    return S_OK;
  }
  /// Samples discarded so far.
  int64_t SampleCount() const { return samples_; }

 private:
  std::atomic<int64_t> samples_{0};
};
