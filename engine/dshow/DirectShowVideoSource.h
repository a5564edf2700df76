// The video renderer filter of the decoding graph ("Video Source"), and the
// engine's video source: it takes pictures of the eight video subtypes,
// converts each into planar YUV 4:2:0 (keYuvFrameConverter), deinterlaces it
// when the hub says so, loads it into its one keVideoSample and hands it to
// the listeners, waiting until all of them have released it (a stop of the
// graph cuts that wait short).
//
// In count-only mode (the frame-rate probe) it counts pictures and the end
// time of the last one, and converts nothing.
//
// End of stream reaches the listeners once per filter, however often
// EndOfStream runs; the final notice hands the last frame on again with its
// last flag set. After it, DoRenderSample hands nothing on.
//
// Listeners must have released every sample before the filter is destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "BaseRenderer.h"
#include "Deinterlacer.h"
#include "keVideoSampleFactory.h"
#include "keVideoSource.h"
#include "keYuvFrameConverter.h"

class DirectShowVideoSource : public BaseRenderer, public keVideoSourceBase {
 public:
  explicit DirectShowVideoSource(keEngineContext* context);
  ~DirectShowVideoSource() override;

  /// S_OK for major type video with one of the subtypes YV12, IYUV, YUY2,
  /// UYVY, YVYU, AYUV, RGB32 and RGB24 at a size above 0 (the source
  /// rectangle's, or the bitmap header's when that is empty); S_FALSE else.
  HRESULT CheckMediaType(const MediaType& type) override;
  HRESULT DoRenderSample(MediaSample* sample) override;
  /// Tells the listeners the format (size, the hub's frame rate and crop
  /// margins), then that streaming starts.
  HRESULT OnStartStreaming() override;
  HRESULT EndOfStream() override;

  void SetCountOnly(bool on) { countOnly = on; }
  double GetFrameCount() const { return frameCount.load(); }
  /// End time of the last frame counted in count-only mode, 100-ns units.
  int64_t GetLastSampleTime() const { return lastCountedEnd.load(); }
  /// Start time of the first frame counted in count-only mode, 100-ns units.
  int64_t GetFirstCountedStart() const { return firstCountedStart.load(); }
  /// End time of the last frame handed on, 100-ns units (0 before the first);
  /// safe to read on any thread while the graph runs.
  int64_t GetLastDeliveredEnd() const { return lastDeliveredEnd.load(); }
  /// Drop frames that start outside the hub's range; the first frame past its
  /// end ends the stream. An end of 0 or less stands for no end.
  void SetRangeCheck(bool on) { rangeCheck = on; }

  int32_t GetWidth() const { return width; }
  int32_t GetHeight() const { return height; }
  /// The converter of the accepted type (null before one is accepted).
  keYuvFrameConverter* GetConverter() const { return converter.get(); }

 private:
  bool Copies() const { return !context || context->mode == 0; }

  std::unique_ptr<keYuvFrameConverter> converter;
  int32_t width = 0;
  int32_t height = 0;
  int32_t outWidth = 0;
  int32_t outHeight = 0;
  /// The converter's buffer seen as YUV420P planes (Y, U, V, none).
  uint8_t* pictureData[4] = {nullptr, nullptr, nullptr, nullptr};
  int pictureLinesize[4] = {0, 0, 0, 0};
  keVideoSample* current = nullptr;
  /// `current` holds a frame not yet handed on: each frame waits for the
  /// next one (or the end), so that the stream's last frame goes out once,
  /// flagged last, instead of once more as a copy of itself.
  bool pending = false;
  /// Hands `current` on, flagged `last` or not, and waits until every
  /// listener has released it; false when a stop cut the wait short.
  bool HandOnPending(bool last);
  std::unique_ptr<keVideoSampleFactory> factory;
  std::atomic<double> frameCount{0.0};
  bool countOnly = false;
  std::atomic<int64_t> lastCountedEnd{0};
  std::atomic<int64_t> firstCountedStart{0};
  std::atomic<int64_t> lastDeliveredEnd{0};
  bool rangeCheck = false;
  Deinterlacer deinterlacer;
  /// Guards the converter, current, the sample's loading and endDelivered
  /// between the streaming thread and an EndOfStream from elsewhere.
  std::mutex deliveryMutex;
  bool endDelivered = false;
};
