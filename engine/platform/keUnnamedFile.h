// Files that have no name while they are written, so that the system reclaims
// them whatever ends the process: a crash, kill -9 or a power cut leaves
// nothing behind. A file that is to become the output is given its name only
// when it is complete, in one step that replaces any older file there.
#pragma once

#include <sys/types.h>

#include <string>

#include "kePath.h"

namespace kePlatform {

class keUnnamedFile {
 public:
  keUnnamedFile() = default;
  /// Closes the descriptor; a file not yet named is gone with it.
  ~keUnnamedFile();
  keUnnamedFile(const keUnnamedFile&) = delete;
  keUnnamedFile& operator=(const keUnnamedFile&) = delete;

  /// Opens a new file for reading and writing inside `directory` that never
  /// gets a name. False with the system's reason on failure.
  bool Open(const std::string& directory, std::string* error);
  /// Opens a new file in the folder of `path` that Publish can put in place
  /// of `path`. While it replaces an older file it is private (mode 0600);
  /// a new output is made with the mode the umask (or the folder's default
  /// ACL) gives, as fopen would make it. Refused, with nothing made, where
  /// the folder lets files be created but not renamed or removed (chattr).
  bool OpenToPublish(const std::string& path, std::string* error);
  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }

  /// Makes the data durable and names the file `path`, replacing whatever was
  /// there in one step (readers see the old file or the new one, never a
  /// part). A file it replaces passes on its permission bits, and its owner
  /// and group as far as the process may set them. The file stays open.
  /// False with the reason on failure.
  bool Publish(const std::string& path, std::string* error);
  /// Closes the file; unless published, its data are gone.
  void Discard();

  /// For tests: from now on behave as on a file system that cannot make
  /// files without a name (a named hidden file stands in for them).
  static void UseNamedFilesOnly(bool namedOnly);

 private:
  /// Creates the file in `folder` with `mode` (the umask applies); with
  /// `keepName`, a fallback file keeps its name until Publish.
  bool Create(const std::string& folder, mode_t mode, bool keepName, std::string* error);

  int fd_ = -1;
  bool published_ = false;
  /// Only where the file system cannot make a file without a name and the
  /// file must be publishable: the unique name it has meanwhile.
  std::string fallbackName_;
};

/// Whether encode data can be written into `folder`: it exists, is a folder,
/// can be written to and has room for a first write. False with a reason a
/// user can read that names the folder and `role` ("output", "temporary").
/// Leaves nothing behind in the folder.
bool CheckWritableFolder(const std::string& folder, const std::string& role, std::string* reason);

/// True when both paths name the same existing file, whatever the spelling:
/// another path to it, a symbolic link, or a hard link.
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace kePlatform
