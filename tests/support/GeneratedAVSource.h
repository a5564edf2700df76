// A source of generated media for engine tests: a moving picture and a tone,
// delivered through the engine's listener hubs the way a decoder's renderer
// filters deliver them. Each stream runs on a thread of its own, hands out the
// one sample of its factory and waits until every listener has released it
// before loading the next, so a slow encoder holds back only its own stream.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "keAVSource.h"
#include "keAudioSource.h"
#include "keEngineContext.h"
#include "keVideoSource.h"

struct GeneratedMedia {
  bool hasVideo = true;
  bool hasAudio = true;
  int32_t width = 160;
  int32_t height = 120;
  double fps = 25.0;
  int32_t sampleRate = 44100;  ///< delivered as 16-bit stereo, as the decoder does
  double seconds = 2.0;
  /// The length the source tells (GetEndTime, GetDuration) when >= 0: a
  /// source whose data outlast what it declares. Below 0: `seconds`.
  double declaredSeconds = -1.0;
  /// When >= 0, the video stream stops after this many frames and waits,
  /// without ending, until Abort: a decode that is still going.
  int32_t stallAfterFrames = -1;
};

class GeneratedAVSource : public keAVSource {
 public:
  GeneratedAVSource(keEngineContext* context, const GeneratedMedia& media);
  ~GeneratedAVSource() override;

  int GetProgressPercent() override;
  double GetDuration() override { return DeclaredSeconds(); }
  keVideoSource* GetVideoSource() override { return &video_; }
  bool HasVideoSource() override { return media_.hasVideo; }
  keAudioSource* GetAudioSource() override { return &audio_; }
  bool HasAudioSource() override { return media_.hasAudio; }
  void Start() override;
  void Abort() override;
  void Stop() override;
  int GetVideoPolicyMode() override { return 0; }
  int GetAudioPolicyMode() override { return 0; }
  double GetCurrentPosition() override { return static_cast<double>(position_.load()); }
  double GetEndTime() override { return DeclaredSeconds(); }
  double GetStartTime() override { return 0.0; }

  /// Frames and sample frames handed to the listeners so far.
  int64_t FramesDelivered() const { return framesDelivered_.load(); }
  int64_t AudioFramesDelivered() const { return audioFramesDelivered_.load(); }
  int32_t StopCalls() const { return stopCalls_.load(); }

 private:
  double DeclaredSeconds() const { return media_.declaredSeconds >= 0.0 ? media_.declaredSeconds : media_.seconds; }
  void RunVideo();
  void RunAudio();
  /// Waits for the listeners to let go of a sample; false on abort.
  bool WaitReleased(class keRefCounted* sample);
  void JoinAndEnd();

  GeneratedMedia media_;
  keAvSourceBase audio_;
  keVideoSourceBase video_;
  std::thread videoThread_;
  std::thread audioThread_;
  std::mutex joinMutex_;
  std::atomic<bool> aborted_{false};
  std::atomic<bool> started_{false};
  std::atomic<bool> videoEnded_{false};
  std::atomic<bool> audioEnded_{false};
  std::atomic<int64_t> position_{0};
  std::atomic<int64_t> framesDelivered_{0};
  std::atomic<int64_t> audioFramesDelivered_{0};
  std::atomic<int32_t> stopCalls_{0};
};
