#include "AudioFrameConverter.h"

#include <vector>

AudioFrameConverter::AudioFrameConverter(int channels, int samplesPerSec) : channels_(channels), rate_(samplesPerSec) {}

AudioFrameConverter::~AudioFrameConverter() { av_channel_layout_uninit(&inputLayout_); }

bool AudioFrameConverter::Configure(const AVFrame& frame) {
  AVChannelLayout layout{};
  if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame.ch_layout.nb_channels <= 0) {
    av_channel_layout_default(&layout, frame.ch_layout.nb_channels > 0 ? frame.ch_layout.nb_channels : 1);
  } else if (av_channel_layout_copy(&layout, &frame.ch_layout) < 0) {
    return false;
  }
  if (resampler_ && inputRate_ == frame.sample_rate && inputFormat_ == frame.format &&
      av_channel_layout_compare(&layout, &inputLayout_) == 0) {
    av_channel_layout_uninit(&layout);
    return true;
  }

  AVChannelLayout outputLayout{};
  av_channel_layout_default(&outputLayout, channels_);
  SwrContext* raw = nullptr;
  int error = swr_alloc_set_opts2(&raw, &outputLayout, AV_SAMPLE_FMT_S16, rate_, &layout,
                                  static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
  SwrContextPtr resampler(raw);
  if (error >= 0 && layout.nb_channels == 1 && channels_ > 1) {
    // The default matrix lowers a lone centre channel by 3 dB when it spreads
    // it over two; a mono source keeps its level on every channel.
    const std::vector<double> matrix(static_cast<size_t>(channels_), 1.0);
    error = swr_set_matrix(resampler.get(), matrix.data(), 1);
  }
  if (error >= 0) error = swr_init(resampler.get());
  av_channel_layout_uninit(&outputLayout);
  if (error < 0) {
    av_channel_layout_uninit(&layout);
    return false;
  }
  resampler_ = std::move(resampler);
  av_channel_layout_uninit(&inputLayout_);
  inputLayout_ = layout;
  inputRate_ = frame.sample_rate;
  inputFormat_ = frame.format;
  return true;
}

int AudioFrameConverter::Run(const uint8_t** input, int inputSamples, std::vector<uint8_t>* out) {
  const int capacity = swr_get_out_samples(resampler_.get(), inputSamples);
  if (capacity < 0) return -1;
  out->resize(static_cast<size_t>(capacity) * channels_ * 2);
  uint8_t* output = out->data();
  const int written = swr_convert(resampler_.get(), &output, capacity, input, inputSamples);
  if (written < 0) {
    out->clear();
    return -1;
  }
  out->resize(static_cast<size_t>(written) * channels_ * 2);
  return written;
}

int AudioFrameConverter::Convert(const AVFrame& frame, std::vector<uint8_t>* out) {
  if (frame.nb_samples <= 0 || frame.sample_rate <= 0 || !Configure(frame)) {
    out->clear();
    return -1;
  }
  return Run(const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples, out);
}

int AudioFrameConverter::Drain(std::vector<uint8_t>* out) {
  if (!resampler_) {
    out->clear();
    return 0;
  }
  return Run(nullptr, 0, out);
}
