// What a source calls on its consumers (the Vorbis and Theora encoders).
//
// All calls come from the source's streaming thread, in the order OnFormat,
// OnStart, OnSample..., OnEndOfStream. Each OnSample hands over one reference:
// the listener reads the sample until it calls Release exactly once.
#pragma once

#include <cstdint>

class keAudioSample;
class keVideoSample;

class keAudioListener {
 public:
  virtual ~keAudioListener() = default;
  virtual void OnFormat(int32_t channels, int32_t sampleRate) = 0;
  virtual void OnStart() = 0;
  virtual void OnSample(keAudioSample* sample) = 0;
  virtual void OnEndOfStream() = 0;
};

class keVideoListener {
 public:
  virtual ~keVideoListener() = default;
  /// 0 or 1; the video encoder is kind 1.
  virtual int32_t Kind() = 0;
  virtual void OnFormat(int32_t width, int32_t height, double frameRate, int32_t cropTop, int32_t cropBottom,
                        int32_t cropLeft, int32_t cropRight) = 0;
  virtual void OnStart() = 0;
  virtual void OnSample(keVideoSample* sample) = 0;
  virtual void OnEndOfStream() = 0;
};
