// The content that carries one profile's seek index. Its data are the index
// block; it is written after its audio/video content and never leads.
#pragma once

#include "keAbstractOrvexaContent.h"

class keAVSeekIndex;

class keOrvexaSeekIndexContent : public keAbstractOrvexaContent {
 public:
  explicit keOrvexaSeekIndexContent(KestrinAvEncoder* encoder) : keAbstractOrvexaContent(encoder) {}

  void StartStreamManager() override {}
  /// Blocks until the index has been closed (thinned) by its stream manager.
  void WaitStreamClosed() override;
  void AttachSeekIndex(keOrvexaWriter*) override {}
  void SetContentId(int32_t id) override { contentId_ = id; }
  void FillHeaderProperties() override;
  int64_t GetDataSize() override;
  void WriteData(keOutputStream* out) override;
  int64_t GetRequiredBitrate() override { return -1; }
  int64_t GetDurationMs() override { return 0; }

  /// Called by the audio/video content the index belongs to.
  void SetIndex(keAVSeekIndex* index, int32_t refId);
  int32_t GetRefId() const { return refId_; }

 private:
  int32_t refId_ = 0;
  keAVSeekIndex* index_ = nullptr;
};
