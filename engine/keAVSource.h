// The abstract audio/video source of an encode. The per-profile encoders and
// the container contents use keAVSource; the application uses keSourceReader.
#pragma once

#include <string>

class keAudioSource;
class keVideoSource;

class keAVSource {
 public:
  virtual ~keAVSource() = default;
  virtual int GetProgressPercent() = 0;
  /// End minus start, seconds; once the run has completed, what it encoded.
  virtual double GetDuration() = 0;
  virtual keVideoSource* GetVideoSource() = 0;
  virtual bool HasVideoSource() = 0;
  virtual keAudioSource* GetAudioSource() = 0;
  virtual bool HasAudioSource() = 0;
  /// Builds the decoding graph if it is not running, then runs it.
  virtual void Start() = 0;
  /// Stops a running graph, then ends both streams so that no listener waits.
  virtual void Abort() = 0;
  /// Waits for the graph to complete, then stops it. Safe to call repeatedly
  /// and from several threads.
  virtual void Stop() = 0;
  virtual int GetVideoPolicyMode() = 0;
  virtual int GetAudioPolicyMode() = 0;
  /// The graph's position, 100-ns units.
  virtual double GetCurrentPosition() = 0;
  virtual double GetEndTime() = 0;
  virtual double GetStartTime() = 0;

  /// Why the source could not deliver its streams (it could not be opened or
  /// decoding failed); empty while all is well.
  virtual std::string GetFailureReason() { return std::string(); }
  /// What the source had to leave out while it carried on (damaged parts
  /// skipped); empty when nothing.
  virtual std::string GetWarningText() { return std::string(); }
};

class keSourceReader : public keAVSource {
 public:
  virtual bool HasVideo() = 0;
  virtual bool HasAudio() = 0;
  virtual const char* GetFileName() = 0;
  virtual void SetStartTime(double seconds) = 0;
  virtual void SetEndTime(double seconds) = 0;
  virtual bool IsClockless() = 0;
  virtual void SetClockless(bool clockless) = 0;
  virtual void SetBlackSourceFile(const char* path) = 0;
  /// Finds where the source's data end, where that takes reading it through
  /// (GetEndTime answers by it afterwards); Start does it when it has not
  /// been done.
  virtual void FindDataEnd() {}
};
