#include "DirectShowAudioSource.h"

#include "FilterReleaseWait.h"
#include "keAudioSample.h"

DirectShowAudioSource::DirectShowAudioSource(keEngineContext* engineContext)
    : BaseRenderer("DirectShowAudioSource"), keAvSourceBase(engineContext) {
  scale = 1.0;
}

DirectShowAudioSource::~DirectShowAudioSource() = default;

HRESULT DirectShowAudioSource::CheckMediaType(const MediaType& type) {
  if (type.majortype != MEDIATYPE_Audio || type.subtype != MEDIASUBTYPE_PCM || type.formattype != FORMAT_WaveFormatEx ||
      type.lSampleSize != 4)
    return S_FALSE;
  std::lock_guard<std::mutex> lock(deliveryMutex);
  channels = type.wave.nChannels;
  rate = static_cast<int32_t>(type.wave.nSamplesPerSec);
  current = nullptr;
  factory = std::make_unique<keAudioSampleFactory>(channels, rate);
  return S_OK;
}

HRESULT DirectShowAudioSource::OnStartStreaming() {
  NotifyFormat(channels, rate);
  NotifyStart();
  return S_OK;
}

HRESULT DirectShowAudioSource::DoRenderSample(MediaSample* mediaSample) {
  const int32_t length = mediaSample->GetActualDataLength();
  if (length == 0) return S_OK;
  int64_t sampleStart = 0, sampleEnd = 0;
  mediaSample->GetTime(&sampleStart, &sampleEnd);

  if (rangeCheck) {
    const double s = static_cast<double>(sampleStart);
    const bool afterEnd = GetEnd() > 0.0 && s > GetEnd() * 1e7;
    if (s < GetStart() * 1e7 || afterEnd) {
      lastDroppedStart = sampleStart;
      if (afterEnd) EndOfStream();
      return S_OK;
    }
  }

  const bool copy = Copies();
  keAudioSample* sample = nullptr;
  {
    std::lock_guard<std::mutex> lock(deliveryMutex);
    if (endDelivered || !factory) return S_OK;
    // Only a stop leaves the sample held here; it is loaded again only once
    // every listener has let go of it.
    if (copy && current && !WaitUnlessStopping(current->GetZeroRefEvent())) return S_OK;
    uint8_t* data = nullptr;
    mediaSample->GetPointer(&data);
    sample = factory->GetSample(data, length, copy);
    if (!sample) return E_OUTOFMEMORY;
    sample->start = sampleStart;
    sample->end = sampleEnd;
    lastSampleEnd = sampleEnd;
    lastDeliveredEnd = sampleEnd;
    current = sample;
    NotifySample(sample);
  }
  // The media sample's buffer is reused once this call returns; the
  // listeners must be done with the copy before the next block loads it.
  if (copy) WaitUnlessStopping(sample->GetZeroRefEvent());
  return S_OK;
}

HRESULT DirectShowAudioSource::EndOfStream() {
  {
    std::lock_guard<std::mutex> lock(deliveryMutex);
    if (!endDelivered) {
      endDelivered = true;
      // The final notice reloads the one sample, so it waits until the
      // listeners have let go of the last block (they have, unless a stop cut
      // the delivery's wait short). A listener that never lets go gets the
      // end of stream without a final sample.
      if (current && factory && (!Copies() || WaitForFinalRelease(current->GetZeroRefEvent()))) {
        keAudioSample* last = factory->GetSample(nullptr, 0, Copies());
        last->start = current->start;
        last->end = current->end;
        last->last = true;
        current = last;
        NotifySample(last);
      }
      NotifyEndOfStream();
    }
  }
  return BaseRenderer::EndOfStream();
}
