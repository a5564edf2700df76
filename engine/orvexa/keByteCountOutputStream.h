// Counts what would be written and stores nothing: a stream manager uses it to
// know the content offset of every page.
#pragma once

#include "keOutputStream.h"

class keByteCountOutputStream : public AbstractOutputStream {
 public:
  void Write(const uint8_t* /*data*/, int32_t length) override {
    if (length > 0) bytesWritten_ += length;
  }
  void Pad(uint32_t /*headerSize*/) override {}
  void Close() override { SetClosed(); }
};
