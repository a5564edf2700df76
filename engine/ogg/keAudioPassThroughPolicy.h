// Encodes every block as it comes and never inserts silence.
#pragma once

#include "keAudioSyncPolicy.h"

class keAudioPassThroughPolicy : public keAudioSyncPolicy {
 public:
  void SetChannels(int32_t) override {}
  void SetSampleRate(int32_t) override {}
  void Reset() override {}
  void Process(const keAudioSample* sample) override;
  void OnEndOfStream() override {}
  const uint8_t* GetSilence(int32_t* length) override;
  int32_t GetSilenceLength() override { return 0; }
  const uint8_t* GetData(int32_t* length) override;
  int32_t GetDataLength() override { return dataLength_; }

 private:
  const uint8_t* data_ = nullptr;
  int32_t dataLength_ = 0;
};
