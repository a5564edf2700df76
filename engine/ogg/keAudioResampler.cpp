#include "keAudioResampler.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

void keAudioResampler::ContextDeleter::operator()(SwrContext* context) const { swr_free(&context); }

keAudioResampler::keAudioResampler(int32_t inChannels, int32_t inRate, int32_t outChannels, int32_t outRate)
    : inChannels_(inChannels),
      inRate_(inRate),
      outChannels_(outChannels),
      outRate_(outRate),
      passThrough_(inChannels == outChannels && inRate == outRate) {
  if (passThrough_ || inChannels <= 0 || outChannels <= 0 || inRate <= 0 || outRate <= 0) return;

  AVChannelLayout inLayout, outLayout;
  av_channel_layout_default(&inLayout, inChannels);
  av_channel_layout_default(&outLayout, outChannels);
  SwrContext* raw = nullptr;
  int rc = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_S16, outRate, &inLayout, AV_SAMPLE_FMT_S16, inRate, 0,
                               nullptr);
  std::unique_ptr<SwrContext, ContextDeleter> context(raw);
  av_channel_layout_uninit(&inLayout);
  av_channel_layout_uninit(&outLayout);
  if (rc < 0) return;

  // Mono and stereo meet the way the profiles expect: a mono source plays at
  // full level on both sides, and stereo folds to the mean of its sides.
  // (The library's own centre mix would lower mono by 3 dB.)
  if (inChannels == 1 && outChannels == 2) {
    const double matrix[2] = {1.0, 1.0};
    swr_set_matrix(context.get(), matrix, 1);
  } else if (inChannels == 2 && outChannels == 1) {
    const double matrix[2] = {0.5, 0.5};
    swr_set_matrix(context.get(), matrix, 2);
  }
  if (swr_init(context.get()) < 0) return;
  context_ = std::move(context);

  // Twenty seconds at the larger rate and channel count, so that ordinary
  // blocks never allocate.
  own_.resize(static_cast<size_t>(20) * std::max(inChannels, outChannels) * std::max(inRate, outRate));
  buffer_ = reinterpret_cast<const uint8_t*>(own_.data());
}

keAudioResampler::~keAudioResampler() { Close(); }

void keAudioResampler::Resample(const uint8_t* block, int32_t bytes) {
  inSamples_ = inChannels_ > 0 && bytes > 0 ? bytes / (2 * inChannels_) : 0;
  if (passThrough_) {
    outSamples_ = inSamples_;
    buffer_ = block;
    return;
  }
  Convert(block, inSamples_);
}

void keAudioResampler::Flush() {
  if (passThrough_) {
    outSamples_ = 0;
    return;
  }
  Convert(nullptr, 0);
}

void keAudioResampler::Convert(const uint8_t* block, int32_t inSamples) {
  outSamples_ = 0;
  if (!context_) return;
  // A block longer than the buffer holds (over twenty seconds of upsampled
  // audio) grows the buffer instead of being written past its end.
  const int needed = swr_get_out_samples(context_.get(), inSamples);
  if (needed <= 0) return;
  const size_t neededValues = static_cast<size_t>(needed) * outChannels_;
  if (neededValues > own_.size()) own_.resize(neededValues);
  uint8_t* out = reinterpret_cast<uint8_t*>(own_.data());
  const uint8_t* in = block;
  const int room = static_cast<int>(own_.size() / outChannels_);
  int got = swr_convert(context_.get(), &out, room, block ? &in : nullptr, inSamples);
  buffer_ = out;
  outSamples_ = got > 0 ? got : 0;
}

void keAudioResampler::ToFloat(float* const* out) const {
  constexpr float kScale = 1.0f / 32768.0f;  // 3.0517578125e-05
  const double factor = static_cast<double>(kScale) * static_cast<double>(gain_);
  for (int32_t i = 0; i < outSamples_; ++i) {
    for (int32_t c = 0; c < outChannels_; ++c) {
      int16_t sample;
      // The caller's block need not be aligned for 16-bit reads.
      std::memcpy(&sample, buffer_ + (static_cast<size_t>(i) * outChannels_ + c) * 2, 2);
      double v = sample * factor;
      out[c][i] = static_cast<float>(std::clamp(v, -1.0, 1.0));
    }
  }
}

void keAudioResampler::Close() {
  if (passThrough_) return;
  context_.reset();
  std::vector<int16_t>().swap(own_);
  buffer_ = nullptr;
  outSamples_ = 0;
}
