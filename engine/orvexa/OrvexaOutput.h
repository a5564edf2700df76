// One output file. Each per-profile encoder added becomes an audio/video
// content with its own temporary file and key; Start runs the whole write on
// a thread of its own: the header writer starts every profile's stream
// manager and waits for all of them, then the contents are copied in and the
// file is padded, closed and only then put in place of the output file, and
// the finished event is set.
//
// Nothing is opened at construction: the output file is written without a
// name in its own folder (Open, or Start) and replaces the output path in
// one step when it is complete. A run that fails or is aborted leaves the
// output path as it was, an older file included, and no partial file.
//
// Abort may come at any moment from another thread. The run then writes no
// header, stops every source so that no stream is left waiting, lets go of
// every temporary file and still sets the finished event. A failure while
// the profiles are encoding (a write refused, a full disk, an encoder that
// failed) stops the run the same way at once, as a failure. After the
// finished event, Succeeded and GetFailures tell whether the container is
// complete.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "keEngineContext.h"
#include "keFileOutputStream.h"
#include "keLog.h"
#include "keOrvexaWriter.h"
#include "keOutputTask.h"

class KestrinAvEncoder;
class OrvexaAVContent;

struct keContentFailure {
  std::string profile;  ///< the profile's name; empty for the container itself
  std::string reason;
};

class OrvexaOutput : public keOutputTask {
 public:
  OrvexaOutput(keEngineContext* context, const char* path);
  /// Joins the output thread, then deletes the file stream and the writer
  /// with every content.
  ~OrvexaOutput() override;

  void SetHeaderProperty(const char* key, const char* value);
  void AddContent(KestrinAvEncoder* encoder, const char* tempDir);
  /// Creates the file the container is written into, checks that every
  /// content's temporary file exists and, on the first call, sets up what the
  /// encoders need before the source streams (keVorbisEncoder's
  /// SetUpBeforeStreaming): false, with `reason`, when the run could not
  /// write or set up. Start makes the files too; calling it first, before
  /// the source starts, lets a caller fail before any decoding. Only before
  /// Start.
  bool Open(std::string* reason);
  void Start() override;
  void Run() override;
  /// Ends the run as failed with `reason`, writing nothing (no thread or
  /// memory to write with).
  void FailWithoutWriting(const std::string& reason);
  /// A cancel: the run ends as soon as it can, as "cancelled".
  void Abort(bool abort);

  /// The last word on a complete container. Called at most once, on the
  /// output thread, when the container is complete and closed and nothing
  /// failed, just before it is put in place of the output file (an older
  /// file there is still untouched). It may wait, for as long as it likes:
  /// the finished event is set only after it returns. True puts the
  /// container in place; false throws it away and the run ends as
  /// cancelled, the output path as it was. An Abort while it waits also
  /// ends the run as cancelled. Set before Start; without a gate the
  /// container goes in place at once.
  void SetPublishGate(std::function<bool()> gate);

  /// True when the run wrote a complete container and put it in place.
  bool Succeeded() const { return succeeded_; }
  /// What went wrong, by profile; empty after a successful run.
  std::vector<keContentFailure> GetFailures() const;
  /// All failures as one text a user can read.
  std::string GetFailureText() const;

  keOrvexaWriter* GetWriter() { return writer_; }
  const std::string& GetPath() const { return path_; }

 private:
  /// The file stream and the temporary files; the failure, or empty.
  std::string OpenFiles();
  /// When not even the failure can be recorded: ends the run as failed for
  /// want of memory, allocating nothing, and sets the finished event.
  void FailWithoutMemory() noexcept;
  /// A failure while encoding: stops the run at once (any thread).
  void FailEarly(const std::string& reason);
  void StopAllSources();
  void WriteContents();
  void CollectFailures();
  void Finish();

  keEngineContext* context_;
  std::string path_;
  keFileOutputStream* fileStream_;
  keOrvexaWriter* writer_;
  std::thread thread_;
  keLog* log_;
  std::vector<OrvexaAVContent*> avContents_;
  /// Open has set the encoders up (or found it could not).
  bool encodersSetUp_ = false;
  std::atomic<bool> succeeded_{false};
  std::atomic<bool> cancelled_{false};
  std::vector<keContentFailure> failures_;
  std::function<bool()> publishGate_;
  /// Made at construction, for FailWithoutMemory.
  std::vector<keContentFailure> noMemoryFailure_;

  /// Guards the early failure and its stopping thread.
  std::mutex failMutex_;
  std::string earlyFailure_;
  /// Stops the sources after an early failure, off the stream manager's
  /// thread that noticed it; joined before the finished event.
  std::thread stopThread_;
  bool finishing_ = false;
};
