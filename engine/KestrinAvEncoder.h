// One stream profile's encoder: its Vorbis and Theora encoders with their
// synchronisation policies, and the stream manager that interleaves their
// pages. The application creates and configures it before the encode and
// polls the first profile's encoder for the percentage.
#pragma once

#include <cstdint>
#include <string>

#include "keEngineContext.h"
#include "keLog.h"

class keAVSource;
class keAudioListener;
class keStreamManager;
class keTheoraEncoder;
class keTheoraEncoderSettings;
class keVideoListener;
class keVorbisEncoder;
class keVorbisEncoderSettings;

/// The percentage of a range of `startSeconds` to `endSeconds` that a stream
/// time in milliseconds stands for: trunc(t / 10 / (end - start)) + 1, kept
/// within 0 to 100; 0 for an empty or reversed range.
int32_t keProgressPercent(int64_t streamTimeMs, double startSeconds, double endSeconds);

class keAbstractAvEncoder {
 public:
  virtual ~keAbstractAvEncoder() = default;
};

class KestrinAvEncoder : public keAbstractAvEncoder {
 public:
  explicit KestrinAvEncoder(keEngineContext* context);
  /// Ends both encoders' streams, joins the stream manager's thread, then
  /// deletes the encoders (joining theirs).
  ~KestrinAvEncoder() override;

  /// For each policy still unset, applies the mode the source asks for.
  virtual void ApplyDefaultPolicies();
  virtual keVideoListener* GetVideoInput();
  virtual keAudioListener* GetAudioInput();
  virtual const char* GetContentType() { return "kestrin-av"; }
  /// Creates the Theora encoder once and registers its stream.
  virtual void CreateVideoEncoder(const char* suffix);
  virtual void CreateVideoEncoder() { CreateVideoEncoder(""); }
  /// The Theora settings; ends the process when there is no Theora encoder.
  virtual keTheoraEncoderSettings* GetVideoEncoder();
  virtual bool HasVideoEncoder() { return theora_ != nullptr; }
  /// Creates the Vorbis encoder once and registers its stream.
  virtual void CreateAudioEncoder(const char* suffix);
  virtual void CreateAudioEncoder() { CreateAudioEncoder(""); }
  /// The Vorbis settings; ends the process when there is no Vorbis encoder.
  virtual keVorbisEncoderSettings* GetAudioEncoder();
  virtual bool HasAudioEncoder() { return vorbis_ != nullptr; }
  /// What must be set up before the source streams, while no other thread
  /// allocates (keVorbisEncoder::SetUpBeforeStreaming); false with the reason.
  virtual bool SetUpBeforeStreaming(std::string* reason);
  virtual void SetOffset(int64_t offset) { offset_ = offset; }
  virtual int64_t GetOffset() { return offset_; }
  /// 0: drop frames by rate ratio; 1: fill slots by time stamp.
  virtual void SetVideoPolicy(int32_t mode);
  virtual int32_t GetVideoPolicy() { return videoPolicyMode_; }
  virtual const char* GetName() { return name_; }
  /// Keeps a copy; throws std::bad_alloc when there is no memory for it.
  virtual void SetName(const char* name);
  virtual keStreamManager* GetStreamManager() { return streamManager_; }
  /// 0: pass audio through; 1: fill gaps with silence.
  virtual void SetAudioPolicy(int32_t mode);
  virtual int32_t GetAudioPolicy() { return audioPolicyMode_; }
  /// Vorbis maximum plus Theora bitrate, bits per second.
  virtual int64_t GetRequiredBitrate();
  /// How far the encode has got through the source's range, 0 to 100; 100
  /// only once the stream manager has finished. Never goes back: the range
  /// is fixed before the run and the stream time only grows.
  virtual int32_t GetProgressPercent();
  /// The source's position, 100-ns units.
  virtual double GetCurrentPosition();

  /// Why the profile's data lack a stream it was set up with: an encoder
  /// whose source never streamed (the file has no such stream, or it could
  /// not be decoded). Empty when both encoders received their streams.
  std::string GetMissingStreamReason();

  keAVSource* GetSource() const { return source_; }
  void SetSource(keAVSource* source) { source_ = source; }
  bool IsAudioConnected() const { return audioConnected_; }
  void SetAudioConnected(bool connected) { audioConnected_ = connected; }
  bool IsVideoConnected() const { return videoConnected_; }
  void SetVideoConnected(bool connected) { videoConnected_ = connected; }

 private:
  keAVSource* source_ = nullptr;
  bool audioConnected_ = false;
  bool videoConnected_ = false;
  keStreamManager* streamManager_;
  char* name_ = nullptr;
  int64_t offset_ = 0;
  int32_t videoPolicyMode_ = -1;
  int32_t audioPolicyMode_ = -1;
  keTheoraEncoder* theora_ = nullptr;
  keVorbisEncoder* vorbis_ = nullptr;
  keEngineContext* context_;
  keLog* log_;
};
