#include "OrvexaOutput.h"

#include "KestrinAvEncoder.h"
#include "OrvexaAVContent.h"
#include "keAVSource.h"

OrvexaOutput::OrvexaOutput(keEngineContext* context, const char* path)
    : context_(context),
      fileStream_(new keFileOutputStream(path)),
      writer_(new keOrvexaWriter(fileStream_)),
      log_(keCreateLog("OrvexaOutput outStream File")) {}

OrvexaOutput::~OrvexaOutput() {
  if (thread_.joinable()) thread_.join();
  fileStream_->Close();  // an output that never ran still lets go of its file
  delete fileStream_;
  delete writer_;
  delete log_;
}

void OrvexaOutput::SetHeaderProperty(const char* key, const char* value) {
  writer_->AddProperty(key, value);
}

void OrvexaOutput::AddContent(KestrinAvEncoder* encoder, const char* tempDir) {
  auto* content = new OrvexaAVContent(encoder, tempDir);
  avContents_.push_back(content);
  writer_->AddContent(content);
}

void OrvexaOutput::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void OrvexaOutput::Abort(bool abort) {
  writer_->SetAbort(abort);
  if (abort) StopAllSources();
}

void OrvexaOutput::StopAllSources() {
  // An aborted source ends its streams, so every encoder and stream manager
  // that is still running finishes and nobody waits on them.
  for (OrvexaAVContent* content : avContents_)
    if (keAVSource* source = content->GetEncoder()->GetSource()) source->Abort();
}

void OrvexaOutput::Run() {
  if (fileStream_->HasFailed()) Abort(true);  // no file to write to: end at once

  writer_->WriteHeader();
  WriteContents();
  fileStream_->Close();
  CollectFailures();
  succeeded_ = failures_.empty();
  GetFinishedEvent().Set();
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
  for (int32_t i = 0; i < writer_->ContentCount(); ++i) writer_->GetContent(i)->WriteData(fileStream_);
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
  if (writer_->IsAborted()) failures_.push_back({"", "the encode was cancelled"});
  else if (!writer_->HeaderWritten()) failures_.push_back({"", "no header was written"});
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
