// The engine's video source and its listener hub: listeners, crop margins,
// deinterlace flag, frame rate and time range (set before the graph runs, not
// locked), and the broadcasts of its filter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "keEngineContext.h"
#include "keListeners.h"

class keVideoSample;

class keVideoSource {
 public:
  virtual ~keVideoSource() = default;
  virtual void AddListener(keVideoListener* listener) = 0;
  virtual void RemoveListener(keVideoListener* listener) = 0;
  virtual void SetDeinterlace(bool on) = 0;
  virtual bool GetDeinterlace() = 0;
  virtual void SetCropLeft(int pixels) = 0;
  virtual int GetCropLeft() = 0;
  virtual void SetCropRight(int pixels) = 0;
  virtual int GetCropRight() = 0;
  virtual void SetCropTop(int pixels) = 0;
  virtual int GetCropTop() = 0;
  virtual void SetCropBottom(int pixels) = 0;
  virtual int GetCropBottom() = 0;
  virtual void SetFrameRate(double fps) = 0;
  virtual double GetFrameRate() = 0;
  virtual void SetStart(double seconds) = 0;
  virtual void SetEnd(double seconds) = 0;
  virtual double GetStart() = 0;
  virtual double GetEnd() = 0;
  /// End time of the last frame handed on, 100-ns units.
  virtual int64_t GetLastSampleEnd() = 0;
};

class keVideoSourceBase : public keVideoSource {
 public:
  explicit keVideoSourceBase(keEngineContext* context);

  void AddListener(keVideoListener* listener) override;
  void RemoveListener(keVideoListener* listener) override;
  void SetDeinterlace(bool on) override { deinterlace = on; }
  bool GetDeinterlace() override { return deinterlace; }
  void SetCropLeft(int pixels) override { cropLeft = pixels; }
  int GetCropLeft() override { return cropLeft; }
  void SetCropRight(int pixels) override { cropRight = pixels; }
  int GetCropRight() override { return cropRight; }
  void SetCropTop(int pixels) override { cropTop = pixels; }
  int GetCropTop() override { return cropTop; }
  void SetCropBottom(int pixels) override { cropBottom = pixels; }
  int GetCropBottom() override { return cropBottom; }
  void SetFrameRate(double fps) override { frameRate = fps; }
  double GetFrameRate() override { return frameRate; }
  void SetStart(double seconds) override { start = seconds; }
  void SetEnd(double seconds) override { end = seconds; }
  double GetStart() override { return start; }
  double GetEnd() override { return end; }
  int64_t GetLastSampleEnd() override { return lastSampleEnd; }

  void NotifyFormat(int32_t width, int32_t height, double fps, int32_t top, int32_t bottom, int32_t left,
                    int32_t right);
  void NotifyStart();
  /// One reference per listener entry, all added before the first OnSample.
  void NotifySample(keVideoSample* sample);
  void NotifyEndOfStream();

  size_t ListenerCount() const { return listeners.size(); }
  int32_t ListenerCountOfKind(int kind) const { return kind == 0 || kind == 1 ? kindCounts[kind] : 0; }

 protected:
  double frameRate = -1.0;
  int32_t cropLeft = 0;
  int32_t cropRight = 0;
  int32_t cropTop = 0;
  int32_t cropBottom = 0;
  bool deinterlace = false;
  int64_t lastSampleEnd = 0;
  keEngineContext* context;
  double start = 0.0;
  double end = 0.0;
  std::vector<keVideoListener*> listeners;
  int32_t kindCounts[2] = {0, 0};

 private:
  void RecountKinds();
};
