// One output file. Each per-profile encoder added becomes an audio/video
// content with its own temporary file and key; Start runs the whole write on
// a thread of its own: the header writer starts every profile's stream
// manager and waits for all of them, then the contents are copied in and the
// file is padded and closed, and the finished event is set.
//
// Abort may come at any moment from another thread. The run then writes no
// header, stops every source so that no stream is left waiting, deletes every
// temporary file and still sets the finished event. After the finished event,
// Succeeded and GetFailures tell whether the container is complete.
#pragma once

#include <atomic>
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
  void Start() override;
  void Run() override;
  void Abort(bool abort);

  /// True when the run wrote a complete container.
  bool Succeeded() const { return succeeded_; }
  /// What went wrong, by profile; empty after a successful run.
  std::vector<keContentFailure> GetFailures() const;
  /// All failures as one text a user can read.
  std::string GetFailureText() const;

  keOrvexaWriter* GetWriter() { return writer_; }

 private:
  void StopAllSources();
  void WriteContents();
  void CollectFailures();

  keEngineContext* context_;
  keFileOutputStream* fileStream_;
  keOrvexaWriter* writer_;
  std::thread thread_;
  keLog* log_;
  std::vector<OrvexaAVContent*> avContents_;
  std::atomic<bool> succeeded_{false};
  std::vector<keContentFailure> failures_;
};
