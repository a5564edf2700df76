// An output stream that keeps what it is given, and how, for tests.
#pragma once

#include <cstdint>
#include <vector>

#include "orvexa/keOutputStream.h"

class MemoryOutputStream : public AbstractOutputStream {
 public:
  void Write(const uint8_t* data, int32_t length) override {
    if (length < 1) return;
    bytes.insert(bytes.end(), data, data + length);
    writeSizes.push_back(length);
    bytesWritten_ += length;
  }
  void Pad(uint32_t /*headerSize*/) override {}
  void Close() override {
    ++closeCount;
    SetClosed();
  }

  std::vector<uint8_t> bytes;
  std::vector<int32_t> writeSizes;
  int closeCount = 0;
};
