// A per-object logger. It keeps no output: logging only takes and releases the
// process-wide "keLogMutex", so that logging points keep their ordering cost.
#pragma once

#include "keMutex.h"

class keLog {
 public:
  ~keLog();
  keLog(const keLog&) = delete;
  keLog& operator=(const keLog&) = delete;

  void Log(const char* text);
  const char* Label() const { return label_; }

 private:
  friend keLog* keCreateLog(const char* label);
  explicit keLog(const char* label);

  char* label_;
  char* line_;
  keMutex mutex_;
};

/// A new logger labelled `label`; the caller deletes it.
keLog* keCreateLog(const char* label);
