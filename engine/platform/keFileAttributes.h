// The file system's own attributes of a file or folder (set with chattr),
// which forbid what its permission bits allow, even to the superuser: an
// append-only folder lets files be created in it but never renamed or
// removed, an immutable one changes in no way.
#pragma once

#include <string>

namespace kePlatform {

struct keFileAttributes {
  bool appendOnly = false;
  bool immutable = false;
  /// Neither: entries may be renamed over and removed as permissions allow.
  bool AllowsReplacing() const { return !appendOnly && !immutable; }
};

/// The attributes of `path` (symbolic links followed); none where the file
/// system keeps none or they cannot be read.
keFileAttributes FileAttributesOf(const std::string& path);

}  // namespace kePlatform
