#include "OrvexaOutput.h"

#include <new>
#include <system_error>

#include "KestrinAvEncoder.h"
#include "OrvexaAVContent.h"
#include "keAVSource.h"
#include "ogg/keStreamManager.h"
#include "platform/keMemoryRoom.h"
#include "platform/keThreadStart.h"

namespace {

constexpr const char kNoMemoryToWriteText[] = "there is not enough memory to write the output";

}  // namespace

OrvexaOutput::OrvexaOutput(keEngineContext* context, const char* path)
    : context_(context),
      path_(path ? path : ""),
      fileStream_(keFileOutputStream::Staged(path_.c_str())),
      writer_(new keOrvexaWriter(fileStream_)),
      log_(keCreateLog("OrvexaOutput outStream File")),
      noMemoryFailure_{{"", kNoMemoryToWriteText}} {}

OrvexaOutput::~OrvexaOutput() {
  if (thread_.joinable()) thread_.join();
  {
    std::lock_guard<std::mutex> lock(failMutex_);
    finishing_ = true;
  }
  if (stopThread_.joinable()) stopThread_.join();
  delete writer_;  // with its contents, before the file stream it wrote to
  delete fileStream_;
  delete log_;
}

void OrvexaOutput::SetHeaderProperty(const char* key, const char* value) { writer_->AddProperty(key, value); }

void OrvexaOutput::AddContent(KestrinAvEncoder* encoder, const char* tempDir) {
  auto* content = new OrvexaAVContent(encoder, tempDir);
  avContents_.push_back(content);
  writer_->AddContent(content);
  encoder->GetStreamManager()->SetFailureListener([this](const std::string& reason) { FailEarly(reason); });
}

bool OrvexaOutput::Open(std::string* reason) {
  std::string why = OpenFiles();
  // Once, and only here: on the output's own thread the source may already
  // be streaming into the encoders.
  for (OrvexaAVContent* content : avContents_) {
    std::string lacking;
    if (!why.empty() || encodersSetUp_ || content->GetEncoder()->SetUpBeforeStreaming(&lacking)) continue;
    const char* name = content->GetEncoder()->GetName();
    why = "\"" + std::string(name ? name : "") + "\": " + lacking;
  }
  encodersSetUp_ = true;
  if (reason) *reason = why;
  return why.empty();
}

std::string OrvexaOutput::OpenFiles() {
  if (!fileStream_->Open()) return fileStream_->GetFailureReason();
  for (OrvexaAVContent* content : avContents_) {
    std::string why = content->GetTemporaryFileFailure();
    if (!why.empty()) return why;
  }
  return std::string();
}

void OrvexaOutput::Start() {
  if (thread_.joinable()) return;
  try {
    thread_ = kePlatform::StartThread([this] {
      try {
        Run();
        return;
      } catch (const std::bad_alloc&) {
        kePlatform::ReleaseMemoryRoom();
      }
      try {
        FailWithoutWriting(kNoMemoryToWriteText);
      } catch (const std::bad_alloc&) {
        FailWithoutMemory();
      }
    });
  } catch (const std::system_error& error) {
    FailWithoutWriting(std::string("the output thread cannot be started: ") + error.what());
  }
}

void OrvexaOutput::FailWithoutWriting(const std::string& reason) {
  // Out of threads or memory: nothing is written, the sources stop, and the
  // run ends with the reason; an older output stays as it was.
  {
    std::lock_guard<std::mutex> lock(failMutex_);
    if (earlyFailure_.empty()) earlyFailure_ = reason;
  }
  writer_->SetAbort(true);
  StopAllSources();
  for (OrvexaAVContent* content : avContents_) {
    if (content->StreamManagerStarted()) content->WaitStreamManagerDone();
    content->DiscardData();
  }
  Finish();
  GetFinishedEvent().Set();
}

void OrvexaOutput::FailWithoutMemory() noexcept {
  // The record made at construction: keeping the reason allocates nothing.
  writer_->SetAbort(true);
  fileStream_->Discard();
  failures_.swap(noMemoryFailure_);
  succeeded_ = false;
  GetFinishedEvent().Set();
}

void OrvexaOutput::Abort(bool abort) {
  if (abort) cancelled_ = true;
  writer_->SetAbort(abort);
  if (abort) StopAllSources();
}

void OrvexaOutput::SetPublishGate(std::function<bool()> gate) { publishGate_ = std::move(gate); }

void OrvexaOutput::FailEarly(const std::string& reason) {
  std::lock_guard<std::mutex> lock(failMutex_);
  if (!earlyFailure_.empty() || finishing_) return;
  earlyFailure_ = reason;
  writer_->SetAbort(true);
  // Not on the calling stream manager's thread: stopping a source waits for
  // its streams, and they may be waiting on this very manager's encoders.
  try {
    stopThread_ = kePlatform::StartThread([this] { StopAllSources(); });
  } catch (const std::system_error&) {
    // The output is aborted all the same: its thread stops at the next step
    // and the run fails with the reason above.
  }
}

void OrvexaOutput::StopAllSources() {
  // An aborted source ends its streams, so every encoder and stream manager
  // that is still running finishes and nobody waits on them.
  for (OrvexaAVContent* content : avContents_)
    if (keAVSource* source = content->GetEncoder()->GetSource()) source->Abort();
}

void OrvexaOutput::Run() {
  std::string reason;
  reason = OpenFiles();
  if (!reason.empty()) FailEarly(reason);  // nothing to write to: end at once

  writer_->WriteHeader();
  WriteContents();
  fileStream_->Close();
  Finish();
  GetFinishedEvent().Set();
}

void OrvexaOutput::Finish() {
  {
    std::lock_guard<std::mutex> lock(failMutex_);
    finishing_ = true;
  }
  if (stopThread_.joinable()) stopThread_.join();
  CollectFailures();
  if (failures_.empty() && publishGate_ && (!publishGate_() || cancelled_)) {
    cancelled_ = true;
    failures_.push_back({"", "the encode was cancelled"});
  }
  if (failures_.empty() && !fileStream_->Publish()) failures_.push_back({"", fileStream_->GetFailureReason()});
  if (!failures_.empty()) fileStream_->Discard();
  succeeded_ = failures_.empty();
}

void OrvexaOutput::WriteContents() {
  if (writer_->IsAborted() || !writer_->HeaderWritten()) {
    // The file will be thrown away; only make sure no stream manager still
    // touches a content's streams before they go.
    for (OrvexaAVContent* content : avContents_) {
      if (content->StreamManagerStarted()) content->WaitStreamManagerDone();
      content->DiscardData();
    }
    return;
  }
  for (int32_t i = 0; i < writer_->ContentCount(); ++i) {
    keAbstractOrvexaContent* content = writer_->GetContent(i);
    if (fileStream_->HasFailed()) {
      content->DiscardData();
      continue;
    }
    content->WriteData(fileStream_);
  }
  fileStream_->Pad(static_cast<uint32_t>(writer_->HeaderSize()));
  fileStream_->Close();
}

void OrvexaOutput::CollectFailures() {
  failures_.clear();
  if (fileStream_->HasFailed()) failures_.push_back({"", fileStream_->GetFailureReason()});
  for (OrvexaAVContent* content : avContents_) {
    std::string reason = content->GetFailureReason();
    if (!reason.empty()) {
      const char* name = content->GetEncoder()->GetName();
      failures_.push_back({name ? name : "", reason});
    }
  }
  std::string early;
  {
    std::lock_guard<std::mutex> lock(failMutex_);
    early = earlyFailure_;
  }
  if (failures_.empty() && !early.empty()) failures_.push_back({"", early});
  if (cancelled_) {
    failures_.push_back({"", "the encode was cancelled"});
  } else if (failures_.empty() && !writer_->HeaderWritten()) {
    failures_.push_back({"", "no header was written"});
  } else if (failures_.empty()) {
    // Nothing failed, yet a profile without a single frame or sample is no
    // container a player can use.
    for (OrvexaAVContent* content : avContents_) {
      std::string reason = content->GetIncompleteReason();
      if (!reason.empty()) {
        const char* name = content->GetEncoder()->GetName();
        failures_.push_back({name ? name : "", reason});
      }
    }
  }
}

std::vector<keContentFailure> OrvexaOutput::GetFailures() const { return failures_; }

std::string OrvexaOutput::GetFailureText() const {
  std::string text;
  for (const auto& failure : failures_) {
    if (!text.empty()) text += "\n";
    text += failure.profile.empty() ? failure.reason : "\"" + failure.profile + "\": " + failure.reason;
  }
  return text;
}
