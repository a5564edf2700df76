// One encode, as the main window, the encode_file harness and the end-to-end
// tests run it: the set-up of the engine objects, the worker's part of the
// run, the polling of the first profile, cancel, and the outcome.
//
//   caller's thread (GUI / harness)        worker thread (RunWorker)
//   -------------------------------        -------------------------
//   Prepare(plan)     builds reader, output, encoders; nothing runs yet
//   start a thread that calls RunWorker ->  reader Start, output Start,
//   poll FirstProfilePercent(),             wait for the output's finished
//        IsOutputFinished()                 event, reader Stop, record the
//   Cancel()  -> aborts reader and output   result, set the done event
//   WaitWorkerDone(ms) <------------------  (done: the worker no longer
//   Result()                                 touches the output or reader)
//   destructor: cancels a run still going, waits for the worker to be done,
//               then deletes the output, the encoders and the reader.
//
// The engine objects are released only after the worker is done with them,
// whichever thread asked for the end. A run that did not succeed leaves no
// partial output file behind, and an older file at the output path stays as
// it was: the container is written without a name beside it and replaces it
// only when complete. Temporary files have no name at all, so nothing of a
// run outlives the process, whatever ends it.
//
// Prepare takes a plan that has passed the gate (PlanEncode, EncodePlan.h),
// or passes the fields through that gate itself; it refuses, before anything
// is opened or created, a start that lies past the source's end.
//
// A polling loop ends when FirstProfilePercent reaches 100 or, whatever the
// percentage (a failed or short first profile may never get there), when
// IsOutputFinished or IsWorkerDone is true.
//
// The hold (HoldFinish, ReleaseFinish) is for the time a person decides
// whether to cancel: the run may finish encoding meanwhile, but its complete
// container waits on the output thread, and an older output stays as it was.
// A Cancel then throws the container away; the release lets it go in place.
// The container is let go, or thrown away, in one decision taken under the
// same lock as Cancel: a cancel that comes before that decision always ends
// the run as cancelled, one that comes after it finds nothing to cancel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EncodePlan.h"
#include "EncodeSetup.h"

class keFactory;
class keEvent;

struct EncodeResult {
  enum Status { kNotRun, kSucceeded, kCancelled, kFailed };
  Status status = kNotRun;
  std::string reason;  ///< what went wrong, as a user can read it; empty on success
  /// What the run had to leave out while it carried on (damaged parts of the
  /// source skipped); may be set on success.
  std::vector<std::string> warnings;
};

class EncodeSession {
 public:
  EncodeSession();
  ~EncodeSession();
  EncodeSession(const EncodeSession&) = delete;
  EncodeSession& operator=(const EncodeSession&) = delete;

  /// Builds the engine objects of one encode from its plan, which the
  /// session keeps. Refused, with a reason naming the offending value, when
  /// the start lies past the source's end, or when memory runs short; nothing
  /// is opened or created then.
  CheckOutcome Prepare(const EncodePlan& plan);
  /// The fields through the gate (PlanEncode), then Prepare of the plan.
  CheckOutcome Prepare(const EncodeFields& fields);

  /// For callers that wire the engine objects themselves (tests over
  /// generated media): takes over `run`, built with Factory(), whose output
  /// and temporary files go to the output's folder and `tempDir`. Refused,
  /// with a reason, when either folder cannot be written; the session then
  /// keeps the run unstarted (Run() shows it) and a worker reports the
  /// refusal as a failure.
  CheckOutcome PrepareRun(std::unique_ptr<EncodeRun> run, const std::string& tempDir);

  /// The factory whose context the session's engine objects share.
  keFactory& Factory();

  /// The worker's part: starts the reader and the output, waits until the
  /// output has finished (normally or after a cancel), stops the reader,
  /// records the result and signals the done event. Call once per session, on
  /// a thread of the caller's choosing.
  void RunWorker();

  /// Runs RunWorker on a thread the session owns and joins (harness, tests).
  void StartWorkerThread();

  /// For callers that run RunWorker on a thread of their own: call it before
  /// that thread is started (with false if it then could not be started).
  /// The destructor then waits for the worker even when the thread has not
  /// yet reached RunWorker, so that the session may be destroyed at any
  /// moment after a Cancel.
  void ExpectWorker(bool expected = true);

  /// Aborts the reader and the output. Safe from any thread but the worker,
  /// at any moment after Prepare, any number of times. Once the complete
  /// container has been let go in place it is too late: nothing changes.
  void Cancel();
  bool IsCancelled() const;

  /// Keeps a complete container from going in place until ReleaseFinish (or
  /// a Cancel). False, holding nothing, when there is nothing left to hold:
  /// the container has been let go in place already, the run was cancelled
  /// or the worker is done. Any thread but the worker.
  bool HoldFinish();
  /// Ends the hold: a container waiting on it goes in place, unless the run
  /// was cancelled. Any thread but the worker.
  void ReleaseFinish();
  /// True while a complete container waits on the hold.
  bool IsContainerWaiting() const;

  /// The first profile's percentage, 0 when there is no profile. It may stay
  /// below 100 for good on a failed or short first profile.
  int FirstProfilePercent() const;
  /// True once the output has finished writing (or failed, or was aborted),
  /// and once the worker is done (also when the output never started).
  bool IsOutputFinished() const;
  /// Waits for the worker to be done; true unless `milliseconds` passed.
  bool WaitWorkerDone(uint32_t milliseconds);
  bool IsWorkerDone() const;

  /// Valid once the worker is done.
  EncodeResult Result() const;

  const EncodeRun& Run() const;
  /// The plan the run was built from (empty for PrepareRun).
  const EncodePlan& Plan() const;

 private:
  /// Prepare's work, which may throw std::bad_alloc.
  CheckOutcome PrepareFrom(const EncodePlan& plan);
  /// Takes over `run`, whose output's publish gate becomes the hold's.
  void UseRun(std::unique_ptr<EncodeRun> run);

  struct State;
  std::unique_ptr<State> state_;
};
