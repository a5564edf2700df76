#include "keCryptedCrxOutputStream.h"

#include <algorithm>
#include <cstring>

#include "keAlloc.h"
#include "keBytes.h"

namespace {
constexpr int32_t kChunkSize = 1024;
}

keCryptedCrxOutputStream::keCryptedCrxOutputStream(keOutputStream* inner)
    : inner_(inner), log_(keCreateLog("keCryptedCrxOutputStream")) {}

keCryptedCrxOutputStream::~keCryptedCrxOutputStream() {
  keFree(key_);
  keFree(chunk_);
  delete log_;
}

void keCryptedCrxOutputStream::SetKey(const char* hexText, int32_t hexLength) {
  keFree(key_);
  keFree(chunk_);
  keyPosition_ = 0;
  uint8_t* decoded = HexToBytes(hexText, hexLength);
  keyLength_ = hexLength / 2;
  chunk_ = static_cast<uint8_t*>(keAlloc(kChunkSize));
  key_ = static_cast<uint8_t*>(keAlloc(static_cast<size_t>(keyLength_) + 1));
  keyMemoryShort_ = !decoded || !chunk_ || !key_;
  if (keyMemoryShort_) {
    // No key, no writing: nothing may reach the file in clear.
    keFree(key_);
    keFree(chunk_);
    key_ = chunk_ = nullptr;
    keyLength_ = 0;
  }
  for (int32_t i = 0; i < keyLength_; ++i) key_[keyLength_ - 1 - i] = decoded[i];
  keFree(decoded);
}

void keCryptedCrxOutputStream::Write(const uint8_t* data, int32_t length) {
  if (length < 1) return;
  if (keyLength_ < 1 || chunk_ == nullptr) {
    // Without a key nothing may reach the file in clear.
    return;
  }
  while (length > 0) {
    int32_t n = std::min(length, kChunkSize);
    std::memcpy(chunk_, data, static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
      chunk_[i] ^= key_[keyPosition_];
      keyPosition_ = (keyPosition_ + 1) % static_cast<uint32_t>(keyLength_);
    }
    inner_->Write(chunk_, n);
    data += n;
    length -= n;
  }
}

bool keCryptedCrxOutputStream::HasFailed() { return keyLength_ < 1 || inner_->HasFailed(); }

std::string keCryptedCrxOutputStream::GetFailureReason() {
  if (keyMemoryShort_) return kNoMemoryForKeyText;
  if (keyLength_ < 1) return "the content has no encryption key";
  return inner_->GetFailureReason();
}

keOutputStream* keCreateCrxStream(int32_t mode, const char* hexKey, int32_t hexLength, keOutputStream* inner) {
  if (mode != 0) return nullptr;
  auto* stream = new keCryptedCrxOutputStream(inner);
  stream->SetKey(hexKey, hexLength);
  return stream;
}
