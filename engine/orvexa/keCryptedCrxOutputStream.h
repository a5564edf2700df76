// The "crx" encryption in front of a content's temporary file: every byte is
// XORed with a repeating key. The key stream runs on across Write calls, so
// byte k of everything written is XORed with key[k mod n]; the key is kept in
// the reverse order of the bytes its hex text decodes to.
#pragma once

#include <cstdint>

#include "keLog.h"
#include "keOutputStream.h"

/// Why a content has no key when the memory for it could not be had.
constexpr const char kNoMemoryForKeyText[] = "there is not enough memory for the content's encryption key";

class keCryptedCrxOutputStream : public keOutputStream {
 public:
  /// `inner` is not owned and must outlive this stream.
  explicit keCryptedCrxOutputStream(keOutputStream* inner);
  ~keCryptedCrxOutputStream() override;

  /// Replaces the key with the bytes of `hexText` (hexLength characters),
  /// reversed, and restarts the key stream. Without memory for it the stream
  /// has no key and fails (HasFailed), saying so.
  void SetKey(const char* hexText, int32_t hexLength);

  void Prepare() override { inner_->Prepare(); }
  int64_t GetBytesWritten() override { return inner_->GetBytesWritten(); }
  bool IsClosed() override { return inner_->IsClosed(); }
  void WaitClosed() override { inner_->WaitClosed(); }
  /// Encrypts in chunks of at most 1024 bytes, each passed on as one Write.
  void Write(const uint8_t* data, int32_t length) override;
  void Pad(uint32_t /*headerSize*/) override {}
  void Close() override { inner_->Close(); }
  bool HasFailed() override;
  std::string GetFailureReason() override;

 private:
  keOutputStream* inner_;
  uint8_t* key_ = nullptr;
  int32_t keyLength_ = 0;
  uint8_t* chunk_ = nullptr;
  uint32_t keyPosition_ = 0;
  /// The last SetKey found no memory for the key.
  bool keyMemoryShort_ = false;
  keLog* log_;
};

/// Mode 0: a crx stream over `inner` with the given key; other modes: null.
keOutputStream* keCreateCrxStream(int32_t mode, const char* hexKey, int32_t hexLength, keOutputStream* inner);
