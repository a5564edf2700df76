#include "EncodeSession.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "EncodeWorker.h"
#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "keAVSource.h"
#include "keEvent.h"
#include "keFactory.h"

struct EncodeSession::State {
  keFactory factory;
  EncodeRun run;
  std::string outputPath;
  bool prepared = false;
  std::atomic<bool> cancelled{false};
  std::atomic<bool> workerStarted{false};
  keEvent workerDone{false, "workerDoneEvent EncodeSession"};
  std::atomic<bool> done{false};
  std::thread thread;
  mutable std::mutex resultMutex;
  EncodeResult result;
};

EncodeSession::EncodeSession() : state_(new State) {}

EncodeSession::~EncodeSession() {
  if (state_->workerStarted) {
    if (!state_->done) Cancel();
    state_->workerDone.Wait(keINFINITE);
  }
  if (state_->thread.joinable()) state_->thread.join();
}

bool EncodeSession::Prepare(const EncodeFields& fields, std::string* reason) {
  (void)reason;
  state_->outputPath = fields.outputPath;
  StartEncode(state_->factory, fields, state_->run);
  state_->prepared = true;
  return true;
}

void EncodeSession::RunWorker() {
  state_->workerStarted = true;
  RunEncodeWorker(state_->run);
  {
    std::lock_guard<std::mutex> lock(state_->resultMutex);
    if (state_->cancelled) {
      state_->result.status = EncodeResult::kCancelled;
    } else if (state_->run.output->Succeeded()) {
      state_->result.status = EncodeResult::kSucceeded;
    } else {
      state_->result.status = EncodeResult::kFailed;
      state_->result.reason = state_->run.output->GetFailureText();
    }
  }
  if (state_->result.status != EncodeResult::kSucceeded) std::remove(state_->outputPath.c_str());
  state_->done = true;
  state_->workerDone.Set();
}

void EncodeSession::StartWorkerThread() {
  state_->workerStarted = true;
  state_->thread = std::thread([this] { RunWorker(); });
}

void EncodeSession::Cancel() {
  if (!state_->prepared || state_->cancelled.exchange(true)) return;
  if (state_->run.reader) state_->run.reader->Abort();
  if (state_->run.output) state_->run.output->Abort(true);
}

bool EncodeSession::IsCancelled() const { return state_->cancelled; }

int EncodeSession::FirstProfilePercent() const {
  if (state_->run.encoders.empty()) return 0;
  return state_->run.encoders.front()->GetProgressPercent();
}

bool EncodeSession::IsOutputFinished() const {
  return state_->run.output && state_->run.output->GetFinishedEvent().Wait(0);
}

bool EncodeSession::WaitWorkerDone(uint32_t milliseconds) { return state_->workerDone.Wait(milliseconds); }

bool EncodeSession::IsWorkerDone() const { return state_->done; }

EncodeResult EncodeSession::Result() const {
  std::lock_guard<std::mutex> lock(state_->resultMutex);
  return state_->result;
}

const EncodeRun& EncodeSession::Run() const { return state_->run; }
