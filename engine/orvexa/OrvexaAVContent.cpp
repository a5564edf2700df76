#include "OrvexaAVContent.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KestrinAvEncoder.h"
#include "keAVSource.h"
#include "keAVSeekIndex.h"
#include "keAlloc.h"
#include "keBytes.h"
#include "keCryptedCrxOutputStream.h"
#include "keOrvexaSeekIndexContent.h"
#include "keOrvexaWriter.h"
#include "ogg/keStreamManager.h"

namespace {
constexpr int kKeyBytes = 8;
}  // namespace

OrvexaAVContent::OrvexaAVContent(KestrinAvEncoder* encoder, const char* tempDir)
    : keAbstractOrvexaContent(encoder), log_(keCreateLog("OrvexaAVContent")) {
  uint8_t* random = RandomBytes(kKeyBytes);
  char* hex = random ? BytesToHex(random, kKeyBytes) : nullptr;
  // Without memory for the key the crx stream gets none and fails before
  // any decoding (GetTemporaryFileFailure says why).
  if (hex) keyText_ = hex;
  keFree(hex);
  keFree(random);
  tempStream_ = new keFileOutputStream(tempDir, true);
  crxStream_ = keCreateCrxStream(0, keyText_.c_str(), static_cast<int32_t>(keyText_.size()), tempStream_);
  encoder_->GetStreamManager()->AddOutput(crxStream_);
}

OrvexaAVContent::~OrvexaAVContent() {
  tempStream_->Close();  // a run that never happened leaves it open
  DeleteTempFile();
  delete crxStream_;
  delete tempStream_;
  delete log_;
}

void OrvexaAVContent::DeleteTempFile() { tempStream_->Discard(); }

void OrvexaAVContent::StartStreamManager() {
  started_ = true;
  encoder_->GetStreamManager()->Start();
}

void OrvexaAVContent::WaitStreamClosed() {
  tempStream_->WaitClosed();
  if (keAVSource* source = encoder_->GetSource()) source->Stop();
}

void OrvexaAVContent::WaitStreamManagerDone() {
  WaitStreamClosed();
  encoder_->GetStreamManager()->GetSeekIndex()->WaitClosed();
}

void OrvexaAVContent::AttachSeekIndex(keOrvexaWriter* writer) {
  seekIndex_ = new keOrvexaSeekIndexContent(encoder_);
  writer->AddContent(seekIndex_);
}

void OrvexaAVContent::SetContentId(int32_t id) {
  contentId_ = id;
  if (seekIndex_) seekIndex_->SetIndex(encoder_->GetStreamManager()->GetSeekIndex(), id);
}

int64_t OrvexaAVContent::GetDataSize() { return crxStream_->GetBytesWritten(); }

void OrvexaAVContent::WriteData(keOutputStream* out) {
  const std::string name = encoder_->GetName() ? encoder_->GetName() : "";
  int64_t copied = 0;
  std::string error;
  const bool read = tempStream_->ReadBack(
      [&](const uint8_t* block, size_t size) {
        out->Write(block, static_cast<int32_t>(size));
        copied += static_cast<int64_t>(size);
        return !out->HasFailed();  // a container that cannot take more is lost anyway
      },
      &error);
  if (!read) copyFailure_ = "the temporary file of \"" + name + "\" could not be read back: " + error;
  else if (!out->HasFailed() && copied != GetDataSize())
    copyFailure_ = "the temporary file of \"" + name + "\" could not be read back whole";
  DeleteTempFile();
}

void OrvexaAVContent::DiscardData() { DeleteTempFile(); }

std::string OrvexaAVContent::GetTemporaryFileFailure() {
  if (keyText_.empty()) return kNoMemoryForKeyText;
  return crxStream_->HasFailed() ? crxStream_->GetFailureReason() : std::string();
}

int64_t OrvexaAVContent::GetDurationMs() {
  keAVSource* source = encoder_->GetSource();
  const int64_t declared = source ? static_cast<int64_t>(std::trunc(source->GetDuration() * 1000.0)) : 0;
  // A source whose length could not be read has no range to declare; the
  // streams' own time is then what was encoded (never a negative duration).
  if (declared <= 0) return encoder_->GetStreamManager()->GetCurrentTime();
  return declared;
}

std::string OrvexaAVContent::GetFailureReason() {
  if (keyText_.empty()) return kNoMemoryForKeyText;
  if (crxStream_->HasFailed()) return crxStream_->GetFailureReason();
  if (!copyFailure_.empty()) return copyFailure_;
  std::string encoderFailure = encoder_->GetStreamManager()->GetFailureReason();
  if (!encoderFailure.empty()) return encoderFailure;
  if (keAVSource* source = encoder_->GetSource()) {
    std::string sourceFailure = source->GetFailureReason();
    if (!sourceFailure.empty()) return sourceFailure;
  }
  return encoder_->GetMissingStreamReason();
}

std::string OrvexaAVContent::GetIncompleteReason() { return encoder_->GetStreamManager()->GetEmptyStreamReason(); }
