// The video half of one stream profile: listens to the source's planar YUV
// 4:2:0 frames, crops and scales them to the profile's size when needed,
// asks its frame-rate policy how often to emit each one, encodes them with
// libtheora's theora_* interface on its own thread ("Theora Encoder") and
// passes the packets to its Ogg stream (serial 1). See keThreadedEncoder.h
// for the thread, the queue and how the stream always ends.
#pragma once

#include <memory>
#include <string>

#include "keListeners.h"
#include "keTheoraEncoderSettings.h"
#include "keTheoraState.h"
#include "keThreadedEncoder.h"
#include "keVideoScaler.h"
#include "keVideoSyncPolicy.h"

class keVideoSample;

class keTheoraEncoder : public keThreadedEncoder<keVideoSample>,
                        public keVideoListener,
                        public keTheoraEncoderSettings {
 public:
  /// The stream is labelled "Theora" followed by `suffix` (may be null).
  keTheoraEncoder(keEngineContext* context, const char* suffix);
  ~keTheoraEncoder() override;

  std::string GetStreamKind() override { return "video"; }
  std::string GetUnitName() override { return "frames"; }

  // keVideoListener, called on the source's streaming thread.
  int32_t Kind() override { return 1; }
  /// Fixes the output size (the set size or the source's, rounded up to a
  /// multiple of 16), the frame rate and the crop-and-scale step; installs a
  /// frame-ratio policy when none was set.
  void OnFormat(int32_t width, int32_t height, double fps, int32_t topBand, int32_t bottomBand, int32_t leftBand,
                int32_t rightBand) override;
  void OnStart() override;
  /// Blocks while 10 frames wait in the queue.
  void OnSample(keVideoSample* frame) override;
  /// Returns once the stream has ended and every frame has been released.
  void OnEndOfStream() override;

  // keTheoraEncoderSettings, set before the stream starts.
  void SetWidth(int32_t width) override { width_ = width; }
  int32_t GetWidth() override { return width_; }
  void SetHeight(int32_t height) override { height_ = height; }
  int32_t GetHeight() override { return height_; }
  void SetFps(double fps) override { fps_ = fps; }
  double GetFps() override { return fps_ != 0.0 ? fps_ : sourceFps_; }
  void SetAspectNumerator(int32_t value) override { info()->aspect_numerator = value; }
  int32_t GetAspectNumerator() override { return info()->aspect_numerator; }
  void SetAspectDenominator(int32_t value) override { info()->aspect_denominator = value; }
  int32_t GetAspectDenominator() override { return info()->aspect_denominator; }
  void SetBitrate(int32_t bitsPerSecond) override { bitrate_ = bitsPerSecond; }
  int32_t GetBitrate() override { return bitrate_; }
  void SetQuality(int32_t quality) override { info()->quality = quality; }
  int32_t GetQuality() override { return info()->quality; }
  void SetDropFrames(int32_t on) override { info()->dropframes_p = on; }
  int32_t GetDropFrames() override { return info()->dropframes_p; }
  void SetQuickMode(int32_t on) override { info()->quick_p = on; }
  int32_t GetQuickMode() override { return info()->quick_p; }
  void SetKeyframeAuto(int32_t on) override { info()->keyframe_auto_p = on; }
  int32_t GetKeyframeAuto() override { return info()->keyframe_auto_p; }
  void SetKeyframeFrequency(int32_t frames) override { info()->keyframe_frequency = frames; }
  int32_t GetKeyframeFrequency() override { return info()->keyframe_frequency; }
  void SetKeyframeFrequencyForce(int32_t frames) override { info()->keyframe_frequency_force = frames; }
  int32_t GetKeyframeFrequencyForce() override { return info()->keyframe_frequency_force; }
  void SetKeyframeDataTargetBitrate(int32_t bitsPerSecond) override {
    info()->keyframe_data_target_bitrate = bitsPerSecond;
  }
  int32_t GetKeyframeDataTargetBitrate() override { return info()->keyframe_data_target_bitrate; }
  void SetKeyframeAutoThreshold(int32_t threshold) override { info()->keyframe_auto_threshold = threshold; }
  int32_t GetKeyframeAutoThreshold() override { return info()->keyframe_auto_threshold; }
  void SetKeyframeMinDistance(int32_t frames) override { info()->keyframe_mindistance = frames; }
  int32_t GetKeyframeMinDistance() override { return info()->keyframe_mindistance; }
  void SetNoiseSensitivity(int32_t value) override { info()->noise_sensitivity = value; }
  int32_t GetNoiseSensitivity() override { return info()->noise_sensitivity; }
  void SetSharpness(int32_t value) override { info()->sharpness = value; }
  int32_t GetSharpness() override { return info()->sharpness; }
  void SetDescription(const char* text) override { description_ = text ? text : ""; }
  const char* GetDescription() override { return description_.c_str(); }
  void SetFrameWidth(int32_t width) override { info()->frame_width = width; }
  int32_t GetFrameWidth() override { return info()->frame_width; }
  void SetFrameHeight(int32_t height) override { info()->frame_height = height; }
  int32_t GetFrameHeight() override { return info()->frame_height; }

  /// Takes ownership of `policy`, destroying the previous one.
  void SetVideoPolicy(keVideoSyncPolicy* policy) { policy_.reset(policy); }
  keVideoSyncPolicy* GetVideoPolicy() { return policy_.get(); }

  /// The encoded picture size (after OnFormat) and whether frames are
  /// cropped or scaled on their way to libtheora.
  int32_t GetOutputWidth() { return static_cast<int32_t>(info()->width); }
  int32_t GetOutputHeight() { return static_cast<int32_t>(info()->height); }
  int32_t GetTargetBitrate() { return info()->target_bitrate; }
  bool IsScaling() const { return scaler_ != nullptr; }

  // keEncoderStream: stream time in ms = frames × 1000 × fps denominator ÷
  // fps numerator.
  int32_t GetRateNumerator() override;
  /// The frame-rate numerator (1 while none is known).
  int32_t GetRateDenominator() override;

 protected:
  bool Setup() override;
  bool EncodeStep(keVideoSample* frame) override;
  void Drain() override {}  // libtheora holds no frame back

 private:
  theora_info* info() { return theora_.Info(); }
  /// Encodes the picture in yuv_ once, passing its packets on.
  void EncodeOnce(bool last);
  /// Points yuv_ at `picture`.
  void Use(const kePlanarPicture& picture);
  static void CopyPlanes(const keVideoSample* frame, kePlanarPicture& picture);

  int32_t width_ = 0;
  int32_t height_ = 0;
  double fps_ = 0.0;
  int32_t bitrate_ = 750000;
  std::string description_;
  int32_t sourceWidth_ = 0;
  int32_t sourceHeight_ = 0;
  double sourceFps_ = 0.0;

  std::unique_ptr<keVideoSyncPolicy> policy_;
  keTheoraState theora_;
  std::unique_ptr<keVideoScaler> scaler_;
  /// The frame's own copy when nothing is scaled: the source's sample goes
  /// back before the (long) encode, so the source decodes the next frame
  /// meanwhile.
  std::unique_ptr<kePlanarPicture> held_;
  yuv_buffer yuv_{};
  std::unique_ptr<keLog> log_;
};
