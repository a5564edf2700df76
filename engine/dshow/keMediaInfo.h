// The application's probe of a source file: stream kinds, picture size,
// frame rate, audio format and duration from the media detector, and whether
// the whole file can be rendered. Complete once constructed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "keEngineContext.h"

class MediaDetector;

class keAbstractMediaInfo {
 public:
  virtual bool IsOpened() = 0;
  virtual bool IsRenderable() = 0;
  virtual bool IsVideoNotRendered() = 0;
  virtual bool IsAudioNotRendered() = 0;
  virtual bool HasAudio() = 0;
  virtual bool HasVideo() = 0;
  /// Seconds: the longer of the audio and the video; -1.0 when the longer
  /// one's length cannot be read.
  virtual double GetDuration() = 0;
  virtual int32_t GetWidth() = 0;
  virtual int32_t GetHeight() = 0;
  virtual double GetFrameRate() = 0;
  virtual int32_t GetChannels() = 0;
  virtual int32_t GetSampleRate() = 0;
  /// Writes the picture at `seconds` into the file, encoded as JPEG; false
  /// when the file has no video or the picture cannot be had or written.
  virtual bool SaveSnapshotJpeg(const char* path, double seconds) = 0;
  /// Why the file could not be opened, or opened again to be rendered, in
  /// the system's words ("Too many open files"); empty when it could.
  virtual const std::string& GetFailureReason() const = 0;
  /// Lets go of the media detector; the answers stay.
  virtual void CloseMediaDet() = 0;
  virtual ~keAbstractMediaInfo() = default;
};

class keMediaInfo : public keAbstractMediaInfo {
 public:
  /// Probes `path`. A file that cannot be opened as media, or that has more
  /// than 3 audio and video streams, is not opened, and every answer keeps
  /// its initial value. A stated frame rate of 0 or less is measured
  /// (keFrameRateProbe); sizes are the picture sizes the graph delivers
  /// (odd sizes lose their last row or column), but a source one picture
  /// element high or wide is told as it is, not as the two it is stretched to.
  keMediaInfo(keEngineContext* context, const char* path);
  ~keMediaInfo() override;

  bool IsOpened() override { return opened; }
  bool IsRenderable() override { return renderable; }
  bool IsVideoNotRendered() override { return videoNotRendered; }
  bool IsAudioNotRendered() override { return audioNotRendered; }
  bool HasAudio() override { return hasAudio; }
  bool HasVideo() override { return hasVideo; }
  double GetDuration() override { return duration; }
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  double GetFrameRate() override { return frameRate; }
  int32_t GetChannels() override { return channels; }
  int32_t GetSampleRate() override { return sampleRate; }
  bool SaveSnapshotJpeg(const char* path, double seconds) override;
  void CloseMediaDet() override;

  const std::string& GetFailureReason() const override { return failureReason; }

 private:
  bool opened = false;
  bool renderable = false;
  bool hasAudio = false;
  bool hasVideo = false;
  bool videoNotRendered = false;
  bool audioNotRendered = false;
  int32_t width = 0;
  int32_t height = 0;
  double frameRate = 0.0;
  int32_t channels = 0;
  int32_t sampleRate = 0;
  double duration = 0.0;
  int32_t firstKind = -1;
  std::unique_ptr<MediaDetector> detector;
  std::string fileName;
  std::string failureReason;
};
