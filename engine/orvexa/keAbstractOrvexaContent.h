// One entry of the container's content table: a profile's encrypted Ogg data
// or its seek index. The writer asks each content, in this order, to start
// its stream manager, to wait until its data are complete, to fill in its
// header properties, and finally to write its data.
#pragma once

#include <cstdint>
#include <string>

#include "keOrvexaPropertyList.h"

class KestrinAvEncoder;
class keOrvexaWriter;
class keOutputStream;

class keAbstractOrvexaContent : public keOrvexaPropertyList {
 public:
  explicit keAbstractOrvexaContent(KestrinAvEncoder* encoder) : encoder_(encoder) {}
  ~keAbstractOrvexaContent() override = default;

  virtual void StartStreamManager() = 0;
  /// Blocks until the content's data are complete.
  virtual void WaitStreamClosed() = 0;
  /// An audio/video content adds its seek-index content to the writer.
  virtual void AttachSeekIndex(keOrvexaWriter* writer) = 0;
  virtual void SetContentId(int32_t id) = 0;
  /// Adds the content's properties for the content table. The base fills in
  /// an audio/video content's: ids, names, the encoders' settings, the
  /// bitrate, the duration and the encryption key.
  virtual void FillHeaderProperties();
  virtual int64_t GetDataSize() = 0;
  virtual void WriteData(keOutputStream* out) = 0;
  /// Bits per second; -1 for contents that are never the head content.
  /// The base: the Vorbis maximum bitrate plus the Theora bitrate.
  virtual int64_t GetRequiredBitrate();
  virtual int64_t GetDurationMs() = 0;

  /// Why the content's data are incomplete or missing; empty when sound.
  virtual std::string GetFailureReason() { return std::string(); }
  /// Lets go of the content's data without writing them (a failed run).
  virtual void DiscardData() {}

  int32_t GetContentId() const { return contentId_; }
  KestrinAvEncoder* GetEncoder() const { return encoder_; }

 protected:
  int32_t contentId_ = 0;
  KestrinAvEncoder* encoder_;
  std::string keyText_;
};
