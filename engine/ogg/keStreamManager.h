// Interleaves the Ogg pages of one profile's streams (Vorbis and Theora) into
// one time-ordered byte stream, on a thread of its own.
//
// The thread first waits for every registered stream's set-up, writes every
// stream's header pages (page 0 of each stream in registration order, then
// the remaining header pages of each), and then page by page always serves
// the stream that is furthest behind in time, the earliest registered one on
// a tie. Every page goes to every output in order of registration (an
// internal byte counter first), and before a key page is written its offset,
// the byte count so far, is entered in the seek index. When every stream has
// sent its end-of-stream page the thread marks the manager finished, closes
// the outputs, then closes the seek index, and ends.
//
// Blocking: the thread waits without a time-out for each stream's set-up
// event and for each page it serves, so every stream must end with an
// end-of-stream page, a failed one included. The destructor joins the thread,
// so it returns only once every stream has ended (or at once when the
// manager was never started).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "keLog.h"
#include "keMutex.h"

class keAVSeekIndex;
class keByteCountOutputStream;
class keEncoderStream;
class keOutputStream;
class keStreamHandler;
class keStreamPageObserver;

class keStreamManager {
 public:
  keStreamManager();
  ~keStreamManager();
  keStreamManager(const keStreamManager&) = delete;
  keStreamManager& operator=(const keStreamManager&) = delete;

  /// Registers an encoder's stream (not owned). Only before Start: a stream
  /// registered later would be missing from the data, so it is refused and
  /// counted as a failure of the run.
  void AddStream(keEncoderStream* encoder);
  /// Registers an output (not owned; never deleted here). Only before Start;
  /// later, as for AddStream.
  void AddOutput(keOutputStream* out);
  /// Called, on the manager's thread and at most once, as soon as a failure
  /// shows while pages are still being written: an output that refused a
  /// write (a full disk) or a stream that ended failed. Lets the owner stop
  /// the whole encode at once instead of encoding to the end. Before Start.
  void SetFailureListener(std::function<void(const std::string&)> listener);
  /// Starts the thread; later calls, from any thread, do nothing.
  void Start();

  /// Set when the last page has been written, just before the outputs close.
  bool IsFinished() const { return finished_.load(); }
  /// The time of the stream served last, in milliseconds.
  int64_t GetCurrentTime() const { return currentTime_.load(); }
  /// Owned by the manager; closed by the thread after the outputs.
  keAVSeekIndex* GetSeekIndex() const { return seekIndex_; }

  // What went wrong, complete once the seek index is closed. A stream's
  // failure is read from its encoder when its last page has been taken, an
  // output's when it has been closed.
  bool HasFailedStream();
  bool HasFailedOutput();
  /// Every reason in the order noticed, joined by "; "; empty when none.
  std::string GetFailureReason();
  /// A stream that ended without a single unit (frame or sample) of data,
  /// though nothing failed; empty when every stream has data.
  std::string GetEmptyStreamReason();

 private:
  void Run();
  /// Fails the profile with `reason` and closes its outputs unwritten.
  void FailAndClose(const std::string& reason);
  void WriteHeaderPages();
  /// Serves the stream furthest behind with one page; returns its time
  /// before that page.
  int64_t Step();
  void NoteStreamEnd(keStreamHandler* handler);
  /// Records a failure of a stream (`ofStream`) or of an output.
  void NoteFailure(bool ofStream, std::string reason);
  /// Tells the failure listener, once.
  void RaiseFailure(const std::string& reason);
  /// The manager's thread found no memory: fails and closes, and when even
  /// the reason cannot be kept, still fails (GetFailureReason says why).
  void FailWithoutMemory() noexcept;

  std::vector<keStreamHandler*> handlers_;
  std::vector<keOutputStream*> outputs_;
  keByteCountOutputStream* byteCounter_;
  std::vector<keStreamPageObserver*> observers_;
  keAVSeekIndex* seekIndex_;
  keMutex mutex_;
  bool started_ = false;
  std::atomic<int64_t> currentTime_{0};
  std::atomic<bool> finished_{false};
  std::thread thread_;
  keLog* log_;

  keMutex failureMutex_;
  bool streamFailed_ = false;
  bool outputFailed_ = false;
  std::vector<std::string> failures_;
  std::string emptyStream_;
  std::function<void(const std::string&)> failureListener_;
  bool failureRaised_ = false;
  std::atomic<bool> noMemoryForReason_{false};
};
