// What the application sets on a profile's video encoder before the encode
// starts, and what the contents read back. A width, height or frame rate of
// 0 takes the source's; sizes are rounded up to a multiple of 16. The
// libtheora settings below the bitrate go to the encoder as they are.
#pragma once

#include <cstdint>

class keTheoraEncoderSettings {
 public:
  virtual ~keTheoraEncoderSettings() = default;
  virtual void SetWidth(int32_t width) = 0;
  virtual int32_t GetWidth() = 0;
  virtual void SetHeight(int32_t height) = 0;
  virtual int32_t GetHeight() = 0;
  virtual void SetFps(double fps) = 0;
  /// The set rate, or the source's when none is set.
  virtual double GetFps() = 0;
  virtual void SetAspectNumerator(int32_t value) = 0;
  virtual int32_t GetAspectNumerator() = 0;
  virtual void SetAspectDenominator(int32_t value) = 0;
  virtual int32_t GetAspectDenominator() = 0;
  virtual void SetBitrate(int32_t bitsPerSecond) = 0;
  virtual int32_t GetBitrate() = 0;
  virtual void SetQuality(int32_t quality) = 0;
  virtual int32_t GetQuality() = 0;
  virtual void SetDropFrames(int32_t on) = 0;
  virtual int32_t GetDropFrames() = 0;
  virtual void SetQuickMode(int32_t on) = 0;
  virtual int32_t GetQuickMode() = 0;
  virtual void SetKeyframeAuto(int32_t on) = 0;
  virtual int32_t GetKeyframeAuto() = 0;
  virtual void SetKeyframeFrequency(int32_t frames) = 0;
  virtual int32_t GetKeyframeFrequency() = 0;
  virtual void SetKeyframeFrequencyForce(int32_t frames) = 0;
  virtual int32_t GetKeyframeFrequencyForce() = 0;
  virtual void SetKeyframeDataTargetBitrate(int32_t bitsPerSecond) = 0;
  virtual int32_t GetKeyframeDataTargetBitrate() = 0;
  virtual void SetKeyframeAutoThreshold(int32_t threshold) = 0;
  virtual int32_t GetKeyframeAutoThreshold() = 0;
  virtual void SetKeyframeMinDistance(int32_t frames) = 0;
  virtual int32_t GetKeyframeMinDistance() = 0;
  virtual void SetNoiseSensitivity(int32_t value) = 0;
  virtual int32_t GetNoiseSensitivity() = 0;
  virtual void SetSharpness(int32_t value) = 0;
  virtual int32_t GetSharpness() = 0;
  /// Copied; reported with the contents as the video's description.
  virtual void SetDescription(const char* text) = 0;
  /// Valid while the encoder lives; empty when none was set.
  virtual const char* GetDescription() = 0;
  virtual void SetFrameWidth(int32_t width) = 0;
  virtual int32_t GetFrameWidth() = 0;
  virtual void SetFrameHeight(int32_t height) = 0;
  virtual int32_t GetFrameHeight() = 0;
};
