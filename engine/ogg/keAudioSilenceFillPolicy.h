// Inserts silence when the source's blocks end well after the audio encoded
// so far (a gap in the source): once the lag reaches 200 ms, silence of the
// missing length (at most one second of 44.1 kHz 16-bit stereo per block) is
// encoded before each block until the audio is within 20 ms of the source.
#pragma once

#include <vector>

#include "keAudioSyncPolicy.h"

class keAudioSilenceFillPolicy : public keAudioSyncPolicy {
 public:
  /// Bytes of the zero buffer: the most silence inserted before one block.
  static constexpr int32_t kSilenceBytes = 176400;

  keAudioSilenceFillPolicy();

  void SetChannels(int32_t channels) override { channels_ = channels; }
  void SetSampleRate(int32_t sampleRate) override { sampleRate_ = sampleRate; }
  void Reset() override;
  void Process(const keAudioSample* sample) override;
  void OnEndOfStream() override {}
  const uint8_t* GetSilence(int32_t* length) override;
  int32_t GetSilenceLength() override { return silenceLength_; }
  const uint8_t* GetData(int32_t* length) override;
  int32_t GetDataLength() override { return dataLength_; }

  /// Milliseconds of audio (blocks and silence) accounted for so far.
  int64_t GetProducedMs() const { return producedMs_; }
  bool IsLagging() const { return lagging_; }

 private:
  int32_t channels_ = 0;
  int32_t sampleRate_ = 0;
  int64_t sampleEndMs_ = 0;
  int64_t producedMs_ = 0;
  std::vector<uint8_t> silence_;
  int32_t silenceLength_ = 0;
  const uint8_t* data_ = nullptr;
  int32_t dataLength_ = 0;
  bool lagging_ = false;
};
