#include "keOrvexaWriter.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "keAlloc.h"
#include "keBytes.h"

keOrvexaWriter::keOrvexaWriter(keOutputStream* out) : out_(out), log_(keCreateLog("keOrvexaWriter")) {}

keOrvexaWriter::~keOrvexaWriter() {
  keFree(securityKey_);
  keFree(contentExpiryDate_);
  delete log_;
}

void keOrvexaWriter::AddContent(keAbstractOrvexaContent* content) { children_.push_back(content); }

keAbstractOrvexaContent* keOrvexaWriter::GetContent(int32_t index) const {
  return static_cast<keAbstractOrvexaContent*>(children_[index]);
}

int32_t keOrvexaWriter::HeaderSize() {
  int32_t size = 64 + SerializedSize() + 4;
  for (int32_t i = 0; i < ContentCount(); ++i) size += 16 + GetContent(i)->SerializedSize();
  return size + 3;
}

void keOrvexaWriter::AppendWriterProperties() {
  AddProperty("security-model", "2");
  if (securityKey_) {
    AddProperty("use-security", "true");
    AddProperty("security-key", securityKey_);
  } else {
    AddProperty("use-security", "false");
  }
  if (contentExpiryDate_) AddProperty("content-expire-date", contentExpiryDate_);
  AddProperty("encoder-type", std::to_string(encoderType_).c_str());
  AddProperty("feature-mask", "0000000000000000-0000000000000000-0000000000000000");
}

void keOrvexaWriter::MoveClosestToTargetToHead() {
  int64_t bestDifference = 1000000000000LL;
  int32_t best = -1;
  for (int32_t i = 0; i < ContentCount() && !abort_; ++i) {
    keAbstractOrvexaContent* content = GetContent(i);
    content->WaitStreamClosed();
    content->FillHeaderProperties();
    int64_t required = content->GetRequiredBitrate();
    if (required <= 0) continue;
    int64_t difference = std::llabs(required - targetBitrate_);
    if (difference < bestDifference) {  // strictly: the first wins a tie
      bestDifference = difference;
      best = i;
    }
  }
  if (best > 0) {
    keOrvexaPropertyList* chosen = children_[best];
    children_.erase(children_.begin() + best);
    children_.insert(children_.begin(), chosen);
  }
}

void keOrvexaWriter::WriteHeader() {
  uint8_t key[kOrvexaHeaderKeyLength];
  FillRandomBytes(key, kOrvexaHeaderKeyLength);
  if (abort_) return;

  AppendWriterProperties();
  // Seek-index contents appended during this pass are visited too; they do
  // nothing, leaving every audio/video content first, then their indexes.
  for (int32_t i = 0; i < ContentCount(); ++i) GetContent(i)->AttachSeekIndex(this);
  for (int32_t i = 0; i < ContentCount(); ++i) GetContent(i)->SetContentId(i);
  for (int32_t i = 0; i < ContentCount(); ++i) GetContent(i)->StartStreamManager();

  MoveClosestToTargetToHead();
  if (abort_) return;
  BuildAndWrite(key);
}

void keOrvexaWriter::BuildAndWrite(const uint8_t key[kOrvexaHeaderKeyLength]) {
  const int32_t headerSize = HeaderSize();
  std::vector<uint8_t> buffer(static_cast<size_t>(headerSize), 0xFF);
  uint8_t* b = buffer.data();
  uint32_t pos = 0;
  PutBytes(b, &pos, "orvexa", 6);
  PutU32(1, b, &pos);
  PutU32(5, b, &pos);
  PutU64(static_cast<uint64_t>(headerSize), b, &pos);
  PutU16(1, b, &pos);
  PutBytes(b, &pos, key, kOrvexaHeaderKeyLength);
  Serialize(b, &pos);
  PutU32(static_cast<uint32_t>(ContentCount()), b, &pos);
  uint64_t start = static_cast<uint64_t>(headerSize);
  for (int32_t i = 0; i < ContentCount(); ++i) {
    keAbstractOrvexaContent* content = GetContent(i);
    uint64_t end = start + static_cast<uint64_t>(content->GetDataSize());
    PutU64(start, b, &pos);
    PutU64(end, b, &pos);
    content->Serialize(b, &pos);
    start = end;
  }
  PutBytes(b, &pos, "eoh", 3);

  if (abort_) return;
  ScrambleHeader(b, 64, headerSize, 1, key);
  out_->Write(b, headerSize);
  headerWritten_ = true;
}

void keOrvexaWriter::ScrambleHeader(uint8_t* buffer, int32_t start, int32_t end, int32_t mode,
                                    const uint8_t key[kOrvexaHeaderKeyLength]) {
  if (mode != 1) std::exit(1);
  // The key applied backwards, cyclically.
  int32_t k = kOrvexaHeaderKeyLength - 1;
  for (int32_t i = start; i < end; ++i) {
    buffer[i] ^= key[k];
    k = k == 0 ? kOrvexaHeaderKeyLength - 1 : k - 1;
  }
  // Then seven rounds of swaps, one block of 39 per 128 bytes.
  const int32_t length = end - start;
  const int32_t blocks = length / 128;
  for (int32_t r = 0; r < 7; ++r) {
    for (int32_t block = 0; block < blocks; ++block) {
      for (int32_t j = 0; j < kOrvexaHeaderKeyLength - 1; ++j) {
        int32_t p = start + (key[j] + 128 * block + r) % length;
        int32_t q = start + (key[j + 1] + 128 * block + r) % length;
        uint8_t t = buffer[p];
        buffer[p] = buffer[q];
        buffer[q] = t;
      }
    }
  }
}
