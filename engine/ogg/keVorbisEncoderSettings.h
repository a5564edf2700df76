// What the application sets on a profile's audio encoder before the encode
// starts, and what the contents read back. Bitrates are in bits per second
// (libvorbis managed mode); a sample rate or channel count of 0 takes the
// source's.
#pragma once

#include <cstdint>

class keVorbisEncoderSettings {
 public:
  virtual ~keVorbisEncoderSettings() = default;
  virtual void SetMaxBitrate(int32_t bitsPerSecond) = 0;
  virtual int32_t GetMaxBitrate() = 0;
  virtual void SetNominalBitrate(int32_t bitsPerSecond) = 0;
  virtual int32_t GetNominalBitrate() = 0;
  virtual void SetMinBitrate(int32_t bitsPerSecond) = 0;
  virtual int32_t GetMinBitrate() = 0;
  virtual void SetSampleRate(int32_t hertz) = 0;
  virtual int32_t GetSampleRate() = 0;
  virtual void SetChannels(int32_t channels) = 0;
  virtual int32_t GetChannels() = 0;
  /// Factor applied to every sample before encoding (clamped to full scale).
  virtual void SetGain(float gain) = 0;
  virtual float GetGain() = 0;
};
