// What the Vorbis encoder asks about every incoming audio block: which bytes
// to encode, and how much silence to encode before them so that the audio
// keeps up with the source's clock when the source skips ahead.
//
// The pointers returned are borrowed: the data is the block's own and valid
// until the block is released; the silence belongs to the policy.
#pragma once

#include <cstdint>

class keAudioSample;

class keAudioSyncPolicy {
 public:
  virtual ~keAudioSyncPolicy() = default;
  virtual void SetChannels(int32_t channels) = 0;
  virtual void SetSampleRate(int32_t sampleRate) = 0;
  /// Forgets the audio seen so far (called when the stream starts).
  virtual void Reset() = 0;
  /// Takes the next block; the Get* calls then describe it.
  virtual void Process(const keAudioSample* sample) = 0;
  virtual void OnEndOfStream() = 0;
  /// Zero bytes to encode before the block; `length` (when not null) gets
  /// GetSilenceLength().
  virtual const uint8_t* GetSilence(int32_t* length) = 0;
  virtual int32_t GetSilenceLength() = 0;
  /// The block's bytes; `length` (when not null) gets GetDataLength().
  virtual const uint8_t* GetData(int32_t* length) = 0;
  virtual int32_t GetDataLength() = 0;
};
