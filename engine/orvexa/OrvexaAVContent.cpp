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
#include "keStreamManager.h"

namespace {
constexpr int kKeyBytes = 8;
// Large blocks: the copy is the last step between the user and the file.
constexpr size_t kCopyBlock = 1 << 16;
}  // namespace

OrvexaAVContent::OrvexaAVContent(KestrinAvEncoder* encoder, const char* tempDir)
    : keAbstractOrvexaContent(encoder), log_(keCreateLog("OrvexaAVContent")) {
  uint8_t* random = RandomBytes(kKeyBytes);
  char* hex = BytesToHex(random, kKeyBytes);
  keyText_ = hex;
  keFree(hex);
  keFree(random);
  tempStream_ = new keFileOutputStream(tempDir, true);
  crxStream_ = keCreateCrxStream(0, keyText_.c_str(), 2 * kKeyBytes, tempStream_);
  encoder_->GetStreamManager()->AddOutput(crxStream_);
}

OrvexaAVContent::~OrvexaAVContent() {
  tempStream_->Close();  // a run that never happened leaves it open
  DeleteTempFile();
  delete crxStream_;
  delete tempStream_;
  delete log_;
}

void OrvexaAVContent::DeleteTempFile() {
  if (*tempStream_->GetPath()) std::remove(tempStream_->GetPath());
}

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
  FILE* in = *tempStream_->GetPath() ? std::fopen(tempStream_->GetPath(), "rb") : nullptr;
  if (in == nullptr) {
    copyFailure_ = "cannot reopen the temporary file of \"" +
                   std::string(encoder_->GetName() ? encoder_->GetName() : "") + "\"";
  } else {
    std::vector<uint8_t> block(kCopyBlock);
    size_t got;
    int64_t copied = 0;
    while ((got = std::fread(block.data(), 1, block.size(), in)) > 0) {
      out->Write(block.data(), static_cast<int32_t>(got));
      copied += static_cast<int64_t>(got);
    }
    if (std::ferror(in) || copied != GetDataSize())
      copyFailure_ = "the temporary file of \"" + std::string(encoder_->GetName() ? encoder_->GetName() : "") +
                     "\" could not be read back whole";
    std::fclose(in);
  }
  DeleteTempFile();
}

void OrvexaAVContent::DiscardData() { DeleteTempFile(); }

int64_t OrvexaAVContent::GetDurationMs() {
  keAVSource* source = encoder_->GetSource();
  return source ? static_cast<int64_t>(std::trunc(source->GetDuration() * 1000.0)) : 0;
}

std::string OrvexaAVContent::GetFailureReason() {
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
