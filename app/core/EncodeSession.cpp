#include "EncodeSession.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "KestrinAvEncoder.h"
#include "orvexa/OrvexaOutput.h"
#include "keAVSource.h"
#include "keEvent.h"
#include "keFactory.h"
#include "platform/keFileKind.h"
#include "platform/keMemoryRoom.h"
#include "platform/keThreadStart.h"
#include "platform/keUnnamedFile.h"

struct EncodeSession::State {
  keFactory factory;
  std::unique_ptr<EncodeRun> run{new EncodeRun};
  EncodePlan plan;
  std::atomic<bool> prepared{false};
  /// Why PrepareRun refused its run (kept, so that the caller can look at it).
  std::string refusal;
  std::atomic<bool> cancelled{false};
  /// A worker runs or is about to (RunWorker entered, or its thread made).
  std::atomic<bool> workerStarted{false};
  std::atomic<bool> workerEntered{false};
  std::atomic<bool> outputStarted{false};
  std::thread thread;

  // The hold on a complete container. The output's publish gate waits on it
  // and takes its decision under this mutex, as Cancel sets `cancelled`.
  // Lock order: gateMutex before doneMutex.
  mutable std::mutex gateMutex;
  std::condition_variable gateChanged;
  bool held = false;
  bool containerWaiting = false;  ///< the gate waits on the hold
  bool letGo = false;             ///< the gate let the container go in place

  /// The output's publish gate, on the output thread: true lets the complete
  /// container go in place.
  bool PassGate() {
    std::unique_lock<std::mutex> lock(gateMutex);
    containerWaiting = true;
    gateChanged.wait(lock, [this] { return !held || cancelled; });
    containerWaiting = false;
    if (cancelled) return false;
    letGo = true;
    return true;
  }

  // The done signal: set last by the worker, under the mutex, so that a
  // waiter woken by it can destroy the session at once.
  mutable std::mutex doneMutex;
  std::condition_variable doneChanged;
  bool done = false;
  EncodeResult result;  ///< guarded by doneMutex
};

namespace {

std::string CancelledText() { return "the encode was cancelled"; }

}  // namespace

EncodeSession::EncodeSession() : state_(new State) {}

EncodeSession::~EncodeSession() {
  if (state_->workerStarted) {
    if (!IsWorkerDone()) Cancel();
    WaitWorkerDone(keINFINITE);
  }
  if (state_->thread.joinable()) state_->thread.join();
  // Only now, with the worker done, do the engine objects go.
  state_->run.reset();
}

keFactory& EncodeSession::Factory() { return state_->factory; }

CheckOutcome EncodeSession::Prepare(const EncodeFields& fields) {
  const PlanOrRefusal planned = PlanEncode(fields);
  if (!planned.Planned()) return CheckOutcome::Refuse(planned.refusal);
  return Prepare(planned.plan);
}

CheckOutcome EncodeSession::Prepare(const EncodePlan& plan) {
  if (state_->prepared || state_->workerStarted) return CheckOutcome::Refuse("This encode has already been prepared.");
  try {
    return PrepareFrom(plan);
  } catch (const std::bad_alloc&) {
    // What was built goes with the unwinding; nothing was opened for writing.
    kePlatform::ReleaseMemoryRoom();
    return CheckOutcome::Refuse("There is not enough memory to set up the encode.");
  }
}

CheckOutcome EncodeSession::PrepareFrom(const EncodePlan& plan) {
  // The source's length (for the time range) comes from the reader, which
  // only reads the input.
  auto run = std::make_unique<EncodeRun>();
  run->reader = state_->factory.CreateSourceReader(plan.inputPath.c_str());
  double sourceEnd = run->reader->GetEndTime();
  if (sourceEnd > 0.0 && plan.startSeconds >= sourceEnd) {
    // A file may hold more than it declares (cut off before its index, or
    // clips joined byte for byte): before a start past what it declares is
    // refused, the file is read through. Only then, as the reading takes
    // time in proportion to the file; the run does it anyway, on its worker.
    run->reader->FindDataEnd();
    sourceEnd = run->reader->GetEndTime();
  }
  CheckOutcome withinSource = CheckStartWithinSource(plan, sourceEnd);
  if (!withinSource.Passed()) return withinSource;
  BuildEncodeEngine(state_->factory, plan, *run);
  UseRun(std::move(run));
  state_->plan = plan;
  state_->prepared = true;
  return CheckOutcome::Pass();
}

CheckOutcome EncodeSession::PrepareRun(std::unique_ptr<EncodeRun> run, const std::string& tempDir) {
  std::string why;
  if (state_->prepared || state_->workerStarted) why = "This encode has already been prepared.";
  else if (!run || !run->output || !run->Source()) why = "The encode has no source or no output.";
  else if (!kePlatform::CheckOutputFile(run->output->GetPath(), &why)) {
  } else if (!kePlatform::CheckWritableFolder(
                 kePlatform::FolderOf(kePlatform::ResolveOutputPath(run->output->GetPath())), "output", &why)) {
  } else if (!kePlatform::CheckWritableFolder(tempDir, "temporary", &why)) {
  }
  if (run && !state_->prepared) UseRun(std::move(run));
  if (!why.empty()) {
    state_->refusal = why;
    return CheckOutcome::Refuse(why);
  }
  state_->prepared = true;
  return CheckOutcome::Pass();
}

void EncodeSession::UseRun(std::unique_ptr<EncodeRun> run) {
  State* state = state_.get();
  if (run->output) run->output->SetPublishGate([state] { return state->PassGate(); });
  state_->run = std::move(run);
}

void EncodeSession::RunWorker() {
  state_->workerStarted = true;
  if (state_->workerEntered.exchange(true)) return;  // once per session
  EncodeRun& run = *state_->run;
  EncodeResult result;
  keAVSource* source = run.Source();

  try {
    std::string openFailure;
    if (!state_->prepared) {
      result.status = EncodeResult::kFailed;
      result.reason = state_->refusal.empty() ? "The encode was not prepared." : state_->refusal;
    } else if (state_->cancelled) {
      result.status = EncodeResult::kCancelled;
      result.reason = CancelledText();
    } else if (!run.output->Open(&openFailure)) {
      // Before any decoding: nothing could be written anyway.
      result.status = EncodeResult::kFailed;
      result.reason = openFailure;
    } else {
      // A cancel from here on reaches objects that honour it whenever it
      // comes: an aborted source does not start, an aborted output ends at once.
      source->Start();
      run.output->Start();
      state_->outputStarted = true;
      run.output->GetFinishedEvent().Wait(keINFINITE);
      source->Stop();
      // A complete container is in place whenever the output succeeded: a
      // cancel that came after that was too late to change anything.
      if (run.output->Succeeded()) {
        result.status = EncodeResult::kSucceeded;
      } else if (state_->cancelled) {
        result.status = EncodeResult::kCancelled;
        result.reason = CancelledText();
      } else {
        result.status = EncodeResult::kFailed;
        result.reason = run.output->GetFailureText();
        if (result.reason.empty()) result.reason = "the encode did not complete";
      }
      const std::string warning = source->GetWarningText();
      if (!warning.empty()) result.warnings.push_back(warning);
    }
  } catch (const std::bad_alloc&) {
    // Out of memory on this thread (the engine's own threads report theirs
    // through the output): the run fails with the reason, and an output
    // still running is stopped first, so that nothing is put in place.
    kePlatform::ReleaseMemoryRoom();
    if (state_->outputStarted && !run.output->GetFinishedEvent().Wait(0)) {
      run.output->Abort(true);
      run.output->GetFinishedEvent().Wait(keINFINITE);
      source->Stop();
    }
    result = EncodeResult();
    result.status = EncodeResult::kFailed;
    result.reason = "there is not enough memory to finish the encode";
  }

  // Last: from here on the session may be gone.
  std::lock_guard<std::mutex> lock(state_->doneMutex);
  state_->result = std::move(result);
  state_->done = true;
  state_->doneChanged.notify_all();
}

void EncodeSession::ExpectWorker(bool expected) {
  if (!state_->workerEntered) state_->workerStarted = expected;
}

void EncodeSession::StartWorkerThread() {
  if (state_->workerStarted.exchange(true)) return;
  try {
    state_->thread = kePlatform::StartThread([this] { RunWorker(); });
  } catch (const std::system_error& error) {
    // Out of threads or memory: the run fails before anything is written.
    std::lock_guard<std::mutex> lock(state_->doneMutex);
    state_->workerEntered = true;
    state_->result.status = EncodeResult::kFailed;
    state_->result.reason = std::string("the encode cannot be started: ") + error.what();
    state_->done = true;
    state_->doneChanged.notify_all();
  }
}

void EncodeSession::Cancel() {
  if (!state_->prepared) return;
  {
    std::lock_guard<std::mutex> lock(state_->gateMutex);
    // Once let go, the container goes in place: there is nothing to cancel.
    if (state_->letGo || state_->cancelled.exchange(true)) return;
  }
  state_->gateChanged.notify_all();  // a container waiting on a hold is thrown away
  if (IsWorkerDone()) return;
  EncodeRun& run = *state_->run;
  // The output first: an aborted source ends its streams as if they were
  // complete, and an output not yet told would then put a cut-short
  // container in place of the output file. The output's abort stops the
  // sources of its contents itself.
  if (run.output) run.output->Abort(true);
  if (keAVSource* source = run.Source()) source->Abort();
}

bool EncodeSession::IsCancelled() const { return state_->cancelled; }

bool EncodeSession::HoldFinish() {
  std::lock_guard<std::mutex> lock(state_->gateMutex);
  if (!state_->prepared || state_->letGo || state_->cancelled || IsWorkerDone()) return false;
  state_->held = true;
  return true;
}

void EncodeSession::ReleaseFinish() {
  {
    std::lock_guard<std::mutex> lock(state_->gateMutex);
    state_->held = false;
  }
  state_->gateChanged.notify_all();
}

bool EncodeSession::IsContainerWaiting() const {
  std::lock_guard<std::mutex> lock(state_->gateMutex);
  return state_->containerWaiting;
}

int EncodeSession::FirstProfilePercent() const {
  if (!state_->prepared || state_->run->encoders.empty()) return 0;
  return state_->run->encoders.front()->GetProgressPercent();
}

bool EncodeSession::IsOutputFinished() const {
  if (IsWorkerDone()) return true;
  return state_->outputStarted && state_->run->output->GetFinishedEvent().Wait(0);
}

bool EncodeSession::WaitWorkerDone(uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(state_->doneMutex);
  auto done = [this] { return state_->done; };
  if (milliseconds == keINFINITE) {
    state_->doneChanged.wait(lock, done);
    return true;
  }
  return state_->doneChanged.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
}

bool EncodeSession::IsWorkerDone() const {
  std::lock_guard<std::mutex> lock(state_->doneMutex);
  return state_->done;
}

EncodeResult EncodeSession::Result() const {
  std::lock_guard<std::mutex> lock(state_->doneMutex);
  return state_->result;
}

const EncodeRun& EncodeSession::Run() const { return *state_->run; }

const EncodePlan& EncodeSession::Plan() const { return state_->plan; }
