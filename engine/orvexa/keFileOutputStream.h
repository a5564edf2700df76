// A file on disk: the container, or a temporary file of one content.
//
// Temporary files and the container under construction have no name while
// they are written (see keUnnamedFile): whatever ends the process, nothing of
// them is left behind, and the container replaces the output file in one
// step, only once it is complete, so that a failed or cancelled run leaves an
// older output as it was.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "keLog.h"
#include "keOutputStream.h"
#include "platform/keUnnamedFile.h"

class keFileOutputStream : public AbstractOutputStream {
 public:
  /// Creates (or truncates) `path` for writing at once.
  explicit keFileOutputStream(const char* path);
  /// With `temporary` set, a file without a name inside `directory`, kept
  /// for ReadBack after Close; without it, a stream with no file at all.
  keFileOutputStream(const char* directory, bool temporary);
  /// A stream that becomes the file `finalPath` only through Publish; it
  /// writes into a file without a name in the same folder, made by Open.
  static keFileOutputStream* Staged(const char* finalPath);
  /// Closes whatever is still open; unpublished data are gone.
  ~keFileOutputStream() override;

  /// Staged streams: creates the file to write into (once), beside the file
  /// the path leads to (see kePlatform::CheckOutputFile). False, with the
  /// failure recorded, when it cannot be made or the path is no file that
  /// may be replaced. Other streams: !HasFailed().
  bool Open();

  void Write(const uint8_t* data, int32_t length) override;
  void Pad(uint32_t headerSize) override;
  /// Flushes, and closes the file once; a second call does nothing. A
  /// temporary or staged file stays readable until Discard.
  void Close() override;

  /// Staged streams, after Close: gives the file its final name, replacing an
  /// older file there. False, with the failure recorded, when it cannot.
  bool Publish();
  /// Temporary and staged streams: lets go of the data.
  void Discard();
  /// Temporary streams, after Close: hands every byte written, in order, to
  /// `sink` (which may stop the reading by returning false). False with the
  /// reason when the file cannot be read back.
  bool ReadBack(const std::function<bool(const uint8_t*, size_t)>& sink, std::string* error);

  /// The file's path: the output's for direct and staged streams, empty for
  /// a temporary file (it has none).
  const char* GetPath() const { return path_.c_str(); }
  bool IsOpen() const { return file_ != nullptr; }

 private:
  enum class Kind { kDirect, kTemporary, kStaged };
  keFileOutputStream(Kind kind, const char* path);
  /// How failure texts name the file.
  std::string Describe() const;
  void CloseHandle();

  Kind kind_;
  std::string path_;
  /// Staged streams: the file that Publish replaces, `path_` with its
  /// symbolic links resolved when Open ran.
  std::string target_;
  std::string directory_;
  FILE* file_ = nullptr;
  kePlatform::keUnnamedFile unnamed_;
  keLog* log_;
};
