// The audio renderer filter of the decoding graph ("Audio Source"), and the
// engine's audio source: it takes 16-bit stereo PCM, loads every block into
// its one keAudioSample and hands it to the listeners of its hub, waiting
// until all of them have released it before it takes the next block. A stop
// of the graph cuts that wait short, so that a listener that keeps its
// reference cannot hang the graph.
//
// End of stream reaches the listeners once per filter, however often
// EndOfStream runs (the range end, then the stream's own end, then an abort):
// the encoders can finish only once. The final notice hands the sample on
// again with its last flag set and without data, so that no block reaches
// the encoders twice; after it, DoRenderSample hands nothing on.
//
// Listeners must have released every sample before the filter is destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "BaseRenderer.h"
#include "keAudioSampleFactory.h"
#include "keAudioSource.h"

class DirectShowAudioSource : public BaseRenderer, public keAvSourceBase {
 public:
  explicit DirectShowAudioSource(keEngineContext* context);
  ~DirectShowAudioSource() override;

  /// S_OK for 16-bit stereo PCM (major type audio, subtype PCM, a wave
  /// format block and 4 bytes per sample frame), S_FALSE for anything else.
  HRESULT CheckMediaType(const MediaType& type) override;
  HRESULT DoRenderSample(MediaSample* sample) override;
  /// Tells the listeners the format, then that streaming starts.
  HRESULT OnStartStreaming() override;
  HRESULT EndOfStream() override;

  /// Drop blocks that start outside the hub's range; the first block past its
  /// end ends the stream. An end of 0 or less stands for no end.
  void SetRangeCheck(bool on) { rangeCheck = on; }
  /// Start time of the last block the range check dropped, 100-ns units.
  int64_t GetLastSampleTime() const { return lastDroppedStart.load(); }
  /// End time of the last block handed on, 100-ns units (0 before the first);
  /// safe to read on any thread while the graph runs.
  int64_t GetLastDeliveredEnd() const { return lastDeliveredEnd.load(); }

  int32_t GetChannels() const { return channels; }
  int32_t GetRate() const { return rate; }

 private:
  bool Copies() const { return !context || context->mode == 0; }

  int32_t channels = 0;
  int32_t rate = 0;
  std::unique_ptr<keAudioSampleFactory> factory;
  /// The sample last handed on; it belongs to the factory.
  keAudioSample* current = nullptr;
  std::atomic<int64_t> lastDroppedStart{0};
  std::atomic<int64_t> lastDeliveredEnd{0};
  bool rangeCheck = false;
  /// Guards current, the sample's loading and endDelivered between the
  /// streaming thread and an EndOfStream from elsewhere.
  std::mutex deliveryMutex;
  bool endDelivered = false;
};
