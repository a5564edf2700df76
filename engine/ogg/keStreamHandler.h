// The stream manager's view of one registered stream: its page source, its
// rate, and how far it has got (the units of every page taken so far).
#pragma once

#include <cstdint>

#include "keLog.h"

class keEncoderStream;
class keOggPageSource;

class keStreamHandler {
 public:
  /// `encoder` is not owned and must outlive the handler.
  explicit keStreamHandler(keEncoderStream* encoder);
  ~keStreamHandler();
  keStreamHandler(const keStreamHandler&) = delete;
  keStreamHandler& operator=(const keStreamHandler&) = delete;

  /// Waits without a time-out for the encoder's set-up to complete, then
  /// reads its rate and page source and starts the count at 0.
  void Start();

  /// Milliseconds of stream taken so far: units × numerator ÷ denominator.
  int64_t GetCurrentTime() const;
  /// `units` of this stream in milliseconds (0 for a stream without a rate).
  int64_t UnitsToMs(int64_t units) const;
  /// Counts a taken page; `endOfStream` marks the stream's last one.
  void PageTaken(int32_t units, bool endOfStream);

  bool IsEnded() const { return ended_; }
  keEncoderStream* GetEncoder() const { return encoder_; }
  keOggPageSource* GetPageSource() const { return pageSource_; }
  int64_t GetUnitCount() const { return unitCount_; }

 private:
  keEncoderStream* encoder_;
  int64_t unitCount_ = 0;
  keOggPageSource* pageSource_ = nullptr;
  int32_t numerator_ = 0;
  int32_t denominator_ = 1;
  bool ended_ = false;
  keLog* log_;
};
