// One profile's audio/video content: the interleaved Ogg pages its stream
// manager writes, crx-encrypted with the content's own random key into a
// temporary file, copied into the container once the profile is complete.
#pragma once

#include <string>

#include "keAbstractOrvexaContent.h"
#include "keFileOutputStream.h"
#include "keLog.h"

class keOrvexaSeekIndexContent;

class OrvexaAVContent : public keAbstractOrvexaContent {
 public:
  /// Creates the temporary file in `tempDir` and registers the encrypting
  /// stream as an output of the encoder's stream manager.
  OrvexaAVContent(KestrinAvEncoder* encoder, const char* tempDir);
  /// Deletes the temporary file if it is still there.
  ~OrvexaAVContent() override;

  void StartStreamManager() override;
  /// Waits until the profile's data are complete, then stops the source.
  void WaitStreamClosed() override;
  void AttachSeekIndex(keOrvexaWriter* writer) override;
  void SetContentId(int32_t id) override;
  int64_t GetDataSize() override;
  /// Copies the temporary file to `out` (stopping when `out` fails) and lets
  /// go of it.
  void WriteData(keOutputStream* out) override;
  int64_t GetDurationMs() override;
  std::string GetFailureReason() override;
  /// Why the profile's data are incomplete though nothing failed: a stream
  /// that ended without a single frame or sample. Empty when complete.
  std::string GetIncompleteReason();

  /// Waits until the stream manager has closed the temporary file and the
  /// seek index, its last acts, and then stops the source.
  void WaitStreamManagerDone();
  /// Deletes the temporary file without copying it (an aborted run).
  void DiscardData() override;
  /// Why the temporary file cannot take the data; empty when it can.
  std::string GetTemporaryFileFailure();
  bool StreamManagerStarted() const { return started_; }
  const std::string& GetKeyText() const { return keyText_; }

 private:
  void DeleteTempFile();

  keOrvexaSeekIndexContent* seekIndex_ = nullptr;
  keFileOutputStream* tempStream_;
  keOutputStream* crxStream_;
  keLog* log_;
  bool started_ = false;
  std::string copyFailure_;
};
