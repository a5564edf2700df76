// The worker thread of one encode: drives the run's session from start to
// end while the GUI thread polls, then tells the encode control it is done.
// Detached: the thread object deletes itself when Entry returns.
#pragma once

#include <wx/thread.h>

class abstractMainFrame;

class MyWorkerThread : public wxThread {
 public:
  /// `control` must hold a prepared session, and keep it and itself until
  /// its finished event is signalled (by this thread's last step).
  explicit MyWorkerThread(abstractMainFrame& control);

 protected:
  /// The session's worker part, then FinishEncoding; touches nothing after.
  ExitCode Entry() override;

 private:
  abstractMainFrame& control_;
};
