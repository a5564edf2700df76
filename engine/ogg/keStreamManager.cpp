#include "keStreamManager.h"

#include <new>
#include <system_error>

#include <cstddef>

#include "orvexa/keAVSeekIndex.h"
#include "orvexa/keByteCountOutputStream.h"
#include "keOggPage.h"
#include "keOggStreamInterfaces.h"
#include "keStreamHandler.h"
#include "platform/keMemoryRoom.h"
#include "platform/keThreadStart.h"
#include "platform/keThreadName.h"

namespace {

constexpr const char kNoMemoryForPagesText[] = "there is not enough memory to write its pages";

}  // namespace

keStreamManager::keStreamManager()
    : byteCounter_(new keByteCountOutputStream()),
      seekIndex_(new keAVSeekIndex()),
      mutex_(false, "Stream Manager Mutex"),
      log_(keCreateLog("keStreamManager")) {
  outputs_.push_back(byteCounter_);
  observers_.push_back(seekIndex_);
}

keStreamManager::~keStreamManager() {
  if (thread_.joinable()) thread_.join();
  for (keStreamHandler* handler : handlers_) delete handler;
  handlers_.clear();
  outputs_.clear();
  for (keStreamPageObserver* observer : observers_) delete observer;
  observers_.clear();
  delete byteCounter_;
  mutex_.Close();
  delete log_;
}

void keStreamManager::AddStream(keEncoderStream* encoder) {
  if (encoder == nullptr) return;
  keMutexLock lock(mutex_);
  if (started_) {
    NoteFailure(true, "a stream was added to a profile after its encode had started");
    return;
  }
  handlers_.push_back(new keStreamHandler(encoder));
}

void keStreamManager::AddOutput(keOutputStream* out) {
  if (out == nullptr) return;
  keMutexLock lock(mutex_);
  if (started_) {
    NoteFailure(false, "an output was added to a profile after its encode had started");
    return;
  }
  outputs_.push_back(out);
}

void keStreamManager::SetFailureListener(std::function<void(const std::string&)> listener) {
  keMutexLock lock(mutex_);
  failureListener_ = std::move(listener);
}

void keStreamManager::Start() {
  {
    keMutexLock lock(mutex_);
    if (started_) return;
    started_ = true;
  }
  try {
    thread_ = kePlatform::StartThread([this] {
      kePlatform::SetCurrentThreadName("Stream Manager");
      try {
        Run();
      } catch (const std::bad_alloc&) {
        kePlatform::ReleaseMemoryRoom();
        FailWithoutMemory();
      }
    });
  } catch (const std::system_error& error) {
    FailAndClose(std::string("its stream manager thread cannot be started: ") + error.what());
  }
}

void keStreamManager::FailAndClose(const std::string& reason) {
  // Out of threads or memory: the profile fails with the reason, and its
  // outputs close so that nobody waits for them.
  NoteFailure(false, reason);
  RaiseFailure(reason);
  finished_ = true;
  for (keOutputStream* out : outputs_) out->Close();
  for (keStreamPageObserver* observer : observers_) observer->Close();
}

void keStreamManager::FailWithoutMemory() noexcept {
  try {
    FailAndClose(kNoMemoryForPagesText);
    return;
  } catch (const std::bad_alloc&) {
  }
  // Not even the reason could be kept: the failure is, and every output and
  // observer closes all the same (they allocate nothing to close).
  noMemoryForReason_ = true;
  finished_ = true;
  for (keOutputStream* out : outputs_) out->Close();
  for (keStreamPageObserver* observer : observers_) observer->Close();
}

void keStreamManager::Run() {
  for (keStreamHandler* handler : handlers_) handler->Start();
  for (keStreamPageObserver* observer : observers_) observer->OnStreamStart();
  for (keOutputStream* out : outputs_) out->Prepare();

  WriteHeaderPages();
  for (keStreamPageObserver* observer : observers_) observer->OnHeaderSize(byteCounter_->GetBytesWritten());

  while (!handlers_.empty()) currentTime_ = Step();

  finished_ = true;
  for (keOutputStream* out : outputs_) {
    out->Close();
    if (out->HasFailed()) NoteFailure(false, out->GetFailureReason());
  }
  for (keStreamPageObserver* observer : observers_) observer->Close();
}

void keStreamManager::WriteHeaderPages() {
  // Every stream's first page (its beginning-of-stream page) comes before
  // any other page, as Ogg requires of a multiplexed stream.
  for (keOutputStream* out : outputs_) {
    for (keStreamHandler* handler : handlers_) {
      keOggPageSource* source = handler->GetPageSource();
      if (source->GetHeaderPageCount() > 0) source->GetHeaderPage(0)->WriteTo(out);
    }
    for (keStreamHandler* handler : handlers_) {
      keOggPageSource* source = handler->GetPageSource();
      const int32_t count = source->GetHeaderPageCount();
      for (int32_t i = 1; i < count; ++i) source->GetHeaderPage(i)->WriteTo(out);
    }
  }
}

int64_t keStreamManager::Step() {
  size_t chosen = 0;
  int64_t smallest = handlers_[0]->GetCurrentTime();
  for (size_t i = 1; i < handlers_.size(); ++i) {
    const int64_t time = handlers_[i]->GetCurrentTime();
    if (time < smallest) {  // strictly: the earlier registered wins a tie
      smallest = time;
      chosen = i;
    }
  }
  keStreamHandler* handler = handlers_[chosen];
  keOggPageSource* source = handler->GetPageSource();

  keOggPage* page = source->PeekPage();
  if (page->IsKey()) {
    const int64_t offset = byteCounter_->GetBytesWritten();
    const int64_t timeMs = handler->UnitsToMs(page->GetKeyPosition());
    for (keStreamPageObserver* observer : observers_)
      observer->AddEntry(offset, static_cast<uint32_t>(page->GetSerial()), page->GetKeyPosition(), timeMs);
  }
  for (keOutputStream* out : outputs_) {
    page->WriteTo(out);
    if (out->HasFailed()) RaiseFailure(out->GetFailureReason());
  }

  page = source->TakePage();
  handler->PageTaken(page->GetUnitCount(), page->IsEndOfStream());
  delete page;

  if (handler->IsEnded()) {
    NoteStreamEnd(handler);
    delete handler;
    handlers_.erase(handlers_.begin() + static_cast<std::ptrdiff_t>(chosen));
  }
  return smallest;
}

void keStreamManager::NoteStreamEnd(keStreamHandler* handler) {
  keEncoderStream* encoder = handler->GetEncoder();
  if (encoder->HasFailed()) {
    NoteFailure(true, encoder->GetFailureReason());
    RaiseFailure(encoder->GetFailureReason());
  } else if (handler->GetUnitCount() == 0) {
    keMutexLock lock(failureMutex_);
    if (emptyStream_.empty())
      emptyStream_ = "its " + encoder->GetStreamKind() + " holds no " + encoder->GetUnitName() + " at all";
  }
}

void keStreamManager::RaiseFailure(const std::string& reason) {
  if (failureRaised_) return;
  failureRaised_ = true;
  std::function<void(const std::string&)> listener;
  {
    keMutexLock lock(mutex_);
    listener = failureListener_;
  }
  if (listener) listener(reason.empty() ? "an encoder or output failed" : reason);
}

void keStreamManager::NoteFailure(bool ofStream, std::string reason) {
  if (reason.empty()) reason = ofStream ? "an encoder failed" : "an output failed";
  keMutexLock lock(failureMutex_);
  (ofStream ? streamFailed_ : outputFailed_) = true;
  failures_.push_back(reason);
  log_->Log(reason.c_str());
}

bool keStreamManager::HasFailedStream() {
  keMutexLock lock(failureMutex_);
  return streamFailed_;
}

bool keStreamManager::HasFailedOutput() {
  keMutexLock lock(failureMutex_);
  return outputFailed_ || noMemoryForReason_;
}

std::string keStreamManager::GetEmptyStreamReason() {
  keMutexLock lock(failureMutex_);
  return emptyStream_;
}

std::string keStreamManager::GetFailureReason() {
  if (noMemoryForReason_) return kNoMemoryForPagesText;
  keMutexLock lock(failureMutex_);
  std::string joined;
  for (const std::string& reason : failures_) {
    if (!joined.empty()) joined += "; ";
    joined += reason;
  }
  return joined;
}
