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
  virtual void FillHeaderProperties() = 0;
  virtual int64_t GetDataSize() = 0;
  virtual void WriteData(keOutputStream* out) = 0;
  /// Bits per second; -1 for contents that are never the head content.
  virtual int64_t GetRequiredBitrate() = 0;
  virtual int64_t GetDurationMs() = 0;

  /// Why the content's data are incomplete or missing; empty when sound.
  virtual std::string GetFailureReason() { return std::string(); }

  int32_t GetContentId() const { return contentId_; }
  KestrinAvEncoder* GetEncoder() const { return encoder_; }

 protected:
  int32_t contentId_ = 0;
  KestrinAvEncoder* encoder_;
  std::string keyText_;
};
