// The worker thread of one encode.
#include "MyWorkerThread.h"

#include "EncodeSession.h"
#include "abstractMainFrame.h"

MyWorkerThread::MyWorkerThread(abstractMainFrame& control) : wxThread(wxTHREAD_DETACHED), control_(control) {}

wxThread::ExitCode MyWorkerThread::Entry() {
  // The media services of this platform need no per-thread initialisation.
  control_.GetSession()->RunWorker();
  control_.FinishEncoding();
  return nullptr;
}
