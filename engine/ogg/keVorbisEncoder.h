// The audio half of one stream profile: listens to the source's 16-bit PCM
// blocks, resamples them to the profile's channels and rate, encodes them
// with libvorbis in managed-bitrate mode on its own thread ("Vorbis
// Encoder") and passes the packets to its Ogg stream (serial 0), from which
// the stream manager takes the pages. See keThreadedEncoder.h for the
// thread, the queue and how the stream always ends.
#pragma once

#include <memory>
#include <string>

#include "keAudioResampler.h"
#include "keAudioSyncPolicy.h"
#include "keListeners.h"
#include "keThreadedEncoder.h"
#include "keVorbisEncoderSettings.h"
#include "keVorbisState.h"

class keAudioSample;

class keVorbisEncoder : public keThreadedEncoder<keAudioSample>,
                        public keAudioListener,
                        public keVorbisEncoderSettings {
 public:
  /// The stream is labelled "Vorbis" followed by `suffix` (may be null).
  keVorbisEncoder(keEngineContext* context, const char* suffix);
  ~keVorbisEncoder() override;

  /// Whether libvorbis accepts these settings (bits per second), asked before
  /// an encode so that a refusal shows at once; false with a reason.
  static bool AcceptsSettings(int32_t channels, int32_t sampleRate, int32_t maxBitrate, int32_t nominalBitrate,
                              int32_t minBitrate, std::string* reason);

  /// Sets libvorbis up now, before the source streams and while no other
  /// thread allocates: libvorbis does not check its allocations, and under a
  /// limit on the address space its set-up on the stream's thread could meet
  /// memory that the decoders took meanwhile. False only when memory runs
  /// short (settings it refuses are told by the stream's own set-up, as is a
  /// target rate or channel count to be taken from the source).
  bool SetUpBeforeStreaming();

  std::string GetStreamKind() override { return "audio"; }
  std::string GetUnitName() override { return "samples"; }

  // keAudioListener, called on the source's streaming thread.
  /// Installs a pass-through policy when none was set, takes a target of 0
  /// channels or rate from the source and creates the resampler.
  void OnFormat(int32_t channels, int32_t sampleRate) override;
  void OnStart() override;
  /// Blocks while 10 blocks wait in the queue.
  void OnSample(keAudioSample* sample) override;
  /// Returns once the stream has ended and every block has been released.
  void OnEndOfStream() override;

  // keVorbisEncoderSettings, set before the stream starts.
  void SetMaxBitrate(int32_t bitsPerSecond) override { maxBitrate_ = bitsPerSecond; }
  int32_t GetMaxBitrate() override { return maxBitrate_; }
  void SetNominalBitrate(int32_t bitsPerSecond) override { nominalBitrate_ = bitsPerSecond; }
  int32_t GetNominalBitrate() override { return nominalBitrate_; }
  void SetMinBitrate(int32_t bitsPerSecond) override { minBitrate_ = bitsPerSecond; }
  int32_t GetMinBitrate() override { return minBitrate_; }
  void SetSampleRate(int32_t hertz) override { sampleRate_ = hertz; }
  int32_t GetSampleRate() override { return sampleRate_; }
  void SetChannels(int32_t channels) override { channels_ = channels; }
  int32_t GetChannels() override { return channels_; }
  void SetGain(float gain) override { gain_ = gain; }
  float GetGain() override { return gain_; }

  /// Takes ownership of `policy`, destroying the previous one.
  void SetAudioPolicy(keAudioSyncPolicy* policy) { policy_.reset(policy); }
  keAudioSyncPolicy* GetAudioPolicy() { return policy_.get(); }

  // keEncoderStream: stream time in ms = samples × 1000 ÷ sample rate.
  int32_t GetRateNumerator() override { return 1000; }
  /// The target sample rate (1 while none is known, so that a stream that
  /// never learnt its format still has a clock).
  int32_t GetRateDenominator() override { return sampleRate_ > 0 ? sampleRate_ : 1; }

 protected:
  bool Setup() override;
  bool EncodeStep(keAudioSample* sample) override;
  void Drain() override;

 private:
  /// Resamples `bytes` of PCM and hands the result to the analysis.
  /// The comment tags and the three header packets, once.
  void WriteHeaders();
  void Encode(const uint8_t* data, int32_t bytes);
  /// Hands the resampler's current output to the analysis.
  void WriteResampled();
  /// Passes every packet libvorbis has ready to the Ogg stream.
  void PassPackets();

  int32_t channels_ = 0;
  int32_t sampleRate_ = 0;
  int32_t minBitrate_ = 100000;
  int32_t nominalBitrate_ = 200000;
  int32_t maxBitrate_ = 300000;
  float gain_ = 1.0f;
  int32_t sourceChannels_ = 0;
  int32_t sourceSampleRate_ = 0;

  std::unique_ptr<keAudioSyncPolicy> policy_;
  std::unique_ptr<keAudioResampler> resampler_;
  keVorbisState vorbis_;
  /// Before streaming, or by the stream's own set-up; never both.
  bool headersWritten_ = false;
  std::unique_ptr<keLog> log_;
};
