#include "keAudioSource.h"

#include <algorithm>

#include "keAudioSample.h"

keAvSourceBase::keAvSourceBase(keEngineContext* engineContext) : context(engineContext) {}

void keAvSourceBase::AddListener(keAudioListener* listener) {
  if (listener) listeners.push_back(listener);
}

void keAvSourceBase::RemoveListener(keAudioListener* listener) {
  if (!listener) return;
  listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void keAvSourceBase::NotifyFormat(int32_t channels, int32_t sampleRate) {
  for (auto* listener : listeners) listener->OnFormat(channels, sampleRate);
}

void keAvSourceBase::NotifyStart() {
  for (auto* listener : listeners) listener->OnStart();
}

void keAvSourceBase::NotifySample(keAudioSample* sample) {
  for (size_t i = 0; i < listeners.size(); ++i) sample->AddRef();
  for (auto* listener : listeners) listener->OnSample(sample);
}

void keAvSourceBase::NotifyEndOfStream() {
  for (auto* listener : listeners) listener->OnEndOfStream();
}
