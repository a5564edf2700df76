#include "keStreamHandler.h"

#include "keEvent.h"
#include "keOggStreamInterfaces.h"

keStreamHandler::keStreamHandler(keEncoderStream* encoder) : encoder_(encoder), log_(keCreateLog("keStreamHandler")) {}

keStreamHandler::~keStreamHandler() { delete log_; }

void keStreamHandler::Start() {
  encoder_->GetSetupCompletedEvent().Wait(keINFINITE);
  numerator_ = encoder_->GetRateNumerator();
  denominator_ = encoder_->GetRateDenominator();
  pageSource_ = encoder_->GetPageSource();
  unitCount_ = 0;
  ended_ = false;
  if (denominator_ <= 0) log_->Log("stream without a rate: its time stays 0");
}

int64_t keStreamHandler::UnitsToMs(int64_t units) const {
  // A failed encoder may report no rate; its pages are still drained.
  if (denominator_ <= 0) return 0;
  return units * numerator_ / denominator_;
}

int64_t keStreamHandler::GetCurrentTime() const { return UnitsToMs(unitCount_); }

void keStreamHandler::PageTaken(int32_t units, bool endOfStream) {
  unitCount_ += units;
  if (endOfStream) ended_ = true;
}
