// A file on disk: the container, or a temporary file of one content.
#pragma once

#include <cstdio>
#include <string>

#include "keLog.h"
#include "keOutputStream.h"

class keFileOutputStream : public AbstractOutputStream {
 public:
  /// Creates (or truncates) `path` for writing.
  explicit keFileOutputStream(const char* path);
  /// With `temporary` set, creates a file of a unique name inside
  /// `directory`; without it, a stream with no file at all.
  keFileOutputStream(const char* directory, bool temporary);
  /// Frees the path and logger. Does not close the file: call Close first.
  ~keFileOutputStream() override;

  void Write(const uint8_t* data, int32_t length) override;
  void Pad(uint32_t headerSize) override;
  /// Flushes and closes the file once; a second call does nothing.
  void Close() override;

  /// Full path of the file (empty without one).
  const char* GetPath() const { return path_.c_str(); }
  bool IsOpen() const { return file_ != nullptr; }

 private:
  std::string path_;
  FILE* file_ = nullptr;
  keLog* log_;
};
