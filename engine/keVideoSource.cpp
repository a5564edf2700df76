#include "keVideoSource.h"

#include <algorithm>

#include "keVideoSample.h"

keVideoSourceBase::keVideoSourceBase(keEngineContext* engineContext) : context(engineContext) {}

void keVideoSourceBase::AddListener(keVideoListener* listener) {
  if (!listener) return;
  listeners.push_back(listener);
  RecountKinds();
}

void keVideoSourceBase::RemoveListener(keVideoListener* listener) {
  if (!listener) return;
  listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
  RecountKinds();
}

void keVideoSourceBase::RecountKinds() {
  kindCounts[0] = kindCounts[1] = 0;
  for (auto* listener : listeners) {
    int kind = listener->Kind();
    if (kind == 0 || kind == 1) ++kindCounts[kind];
  }
}

void keVideoSourceBase::NotifyFormat(int32_t width, int32_t height, double fps, int32_t top, int32_t bottom,
                                     int32_t left, int32_t right) {
  for (auto* listener : listeners) listener->OnFormat(width, height, fps, top, bottom, left, right);
}

void keVideoSourceBase::NotifyStart() {
  for (auto* listener : listeners) listener->OnStart();
}

void keVideoSourceBase::NotifySample(keVideoSample* sample) {
  for (size_t i = 0; i < listeners.size(); ++i) sample->AddRef();
  for (auto* listener : listeners) listener->OnSample(sample);
}

void keVideoSourceBase::NotifyEndOfStream() {
  for (auto* listener : listeners) listener->OnEndOfStream();
}
