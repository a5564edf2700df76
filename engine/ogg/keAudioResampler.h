// Turns the source's interleaved 16-bit PCM blocks into what one Vorbis
// encoder wants: its own channel count and rate (libswresample), then one
// float array per channel with the gain applied and clamped to [-1, 1].
//
// When the channel counts and the rates match, the resampler is a
// pass-through: the buffer is the caller's block, valid only until the
// caller releases it, so ToFloat must come before that release.
//
// One resampler belongs to one encoder thread; it takes no lock.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct SwrContext;

class keAudioResampler {
 public:
  keAudioResampler(int32_t inChannels, int32_t inRate, int32_t outChannels, int32_t outRate);
  ~keAudioResampler();
  keAudioResampler(const keAudioResampler&) = delete;
  keAudioResampler& operator=(const keAudioResampler&) = delete;

  void SetGain(float gain) { gain_ = gain; }
  float GetGain() const { return gain_; }

  /// Converts one block of `bytes` bytes; a partial last frame is ignored.
  /// The converted samples are read through ToFloat until the next call.
  void Resample(const uint8_t* block, int32_t bytes);
  /// Drains what the converter still holds back for its filter (a few
  /// samples); called after the stream's last block so that no audio is lost.
  /// In pass-through it yields no samples.
  void Flush();
  /// Writes GetOutSamples() values to each of the GetOutChannels() arrays.
  void ToFloat(float* const* out) const;
  /// Releases the converter and its buffer; later blocks yield nothing.
  void Close();

  bool IsPassThrough() const { return passThrough_; }
  /// False when the converter refused the formats (nothing is then produced).
  bool IsReady() const { return passThrough_ || context_ != nullptr; }
  int32_t GetInSamples() const { return inSamples_; }
  int32_t GetOutSamples() const { return outSamples_; }
  int32_t GetOutChannels() const { return outChannels_; }
  /// Bytes of the own buffer (0 in pass-through).
  int64_t GetCapacity() const { return static_cast<int64_t>(own_.size()) * 2; }
  /// The converted block: the own buffer, or the caller's block in pass-through.
  const uint8_t* GetBuffer() const { return buffer_; }

 private:
  struct ContextDeleter {
    void operator()(SwrContext* context) const;
  };

  void Convert(const uint8_t* block, int32_t inSamples);

  float gain_ = 1.0f;
  int32_t inChannels_;
  int32_t inRate_;
  int32_t outChannels_;
  int32_t outRate_;
  int32_t outSamples_ = 0;
  int32_t inSamples_ = 0;
  const uint8_t* buffer_ = nullptr;
  bool passThrough_;
  std::vector<int16_t> own_;
  std::unique_ptr<SwrContext, ContextDeleter> context_;
};
