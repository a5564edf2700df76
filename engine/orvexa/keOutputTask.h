// Something that writes an output on a thread of its own and signals its
// finished event when it is done, successfully or not.
#pragma once

#include "keEvent.h"

class keOutputTask {
 public:
  keOutputTask() : finishedEvent_(false, "outputFinishedEvent") {}
  virtual ~keOutputTask() { finishedEvent_.Close(); }
  keOutputTask(const keOutputTask&) = delete;
  keOutputTask& operator=(const keOutputTask&) = delete;

  /// Starts Run on a new thread.
  virtual void Start() = 0;
  virtual void Run() = 0;

  /// Set at the end of Run, whatever the outcome.
  keEvent& GetFinishedEvent() { return finishedEvent_; }

 private:
  keEvent finishedEvent_;
};
