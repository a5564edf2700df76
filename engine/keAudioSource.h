// The engine's audio source and its listener hub. The hub keeps the listeners
// and the time range the application sets before the graph runs (listener
// lists and settings are not locked: they change only while nothing streams),
// and broadcasts what its filter decodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "keEngineContext.h"
#include "keListeners.h"

class keAudioSample;

class keAudioSource {
 public:
  virtual ~keAudioSource() = default;
  virtual void AddListener(keAudioListener* listener) = 0;
  virtual void RemoveListener(keAudioListener* listener) = 0;
  virtual void SetScale(double scale) = 0;
  virtual double GetScale() = 0;
  virtual void SetStart(double seconds) = 0;
  virtual void SetEnd(double seconds) = 0;
  virtual double GetStart() = 0;
  virtual double GetEnd() = 0;
};

class keAvSourceBase : public keAudioSource {
 public:
  explicit keAvSourceBase(keEngineContext* context);

  void AddListener(keAudioListener* listener) override;
  void RemoveListener(keAudioListener* listener) override;
  void SetScale(double value) override { scale = value; }
  double GetScale() override { return scale; }
  void SetStart(double seconds) override { start = seconds; }
  void SetEnd(double seconds) override { end = seconds; }
  double GetStart() override { return start; }
  double GetEnd() override { return end; }

  void NotifyFormat(int32_t channels, int32_t sampleRate);
  void NotifyStart();
  /// Adds one reference per listener entry before the first OnSample, so that
  /// a listener releasing at once cannot return the sample early.
  void NotifySample(keAudioSample* sample);
  void NotifyEndOfStream();

  size_t ListenerCount() const { return listeners.size(); }

 protected:
  double scale = 0.0;
  keEngineContext* context;
  int64_t lastSampleEnd = 0;  ///< end of the last block handed on, 100-ns
  double start = 0.0;
  double end = 0.0;
  std::vector<keAudioListener*> listeners;
};
