// Turns decoded FFmpeg audio frames into interleaved signed 16-bit PCM of a
// negotiated channel count and rate, with libswresample. Mono is spread to
// both channels of stereo at full level; more channels are mixed down with
// libswresample's default matrix, scaled so that the mix does not clip.
#pragma once

#include <cstdint>
#include <vector>

#include "FfmpegHandles.h"

class AudioFrameConverter {
 public:
  AudioFrameConverter(int channels, int samplesPerSec);
  ~AudioFrameConverter();
  AudioFrameConverter(const AudioFrameConverter&) = delete;
  AudioFrameConverter& operator=(const AudioFrameConverter&) = delete;

  int Channels() const { return channels_; }
  int SamplesPerSec() const { return rate_; }
  /// Converts `frame` into `out` (replacing its contents); returns the number
  /// of sample frames written, or -1 when the frame cannot be converted. With
  /// a rate conversion some samples may be held back until the next call.
  int Convert(const AVFrame& frame, std::vector<uint8_t>* out);
  /// The samples a rate conversion still holds back, as Convert returns them.
  int Drain(std::vector<uint8_t>* out);

 private:
  bool Configure(const AVFrame& frame);
  int Run(const uint8_t** input, int inputSamples, std::vector<uint8_t>* out);

  int channels_;
  int rate_;
  SwrContextPtr resampler_;
  AVChannelLayout inputLayout_{};
  int inputRate_ = 0;
  int inputFormat_ = -1;
};
