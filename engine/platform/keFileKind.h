// What a path names, asked before the engine reads or writes it: a source
// must be a regular file (a pipe would hang the probe, a device or a folder
// gives no media), and an output must be a regular file or nothing yet, so
// that an encode never replaces a device, a pipe or a file its owner
// protected, and writes through a symbolic link into the link's target.
#pragma once

#include <sys/types.h>

#include <string>

namespace kePlatform {

/// What a file that is not a regular file is, as a user would say it ("a
/// folder", "a named pipe (FIFO)", "a character device", ...), from its
/// st_mode.
std::string KindOf(mode_t mode);

/// True when `path` is an existing regular file (symbolic links followed).
/// Otherwise false with a reason a user can read that says what the path is:
/// missing, a folder, a named pipe, a device, a socket.
[[nodiscard]] bool CheckSourceFile(const std::string& path, std::string* reason);

/// The path an output at `path` is written to: `path` itself, or when it is
/// a symbolic link, the file it leads to (relative links read from the
/// link's folder, chains followed). A dangling link gives its target path.
std::string ResolveOutputPath(const std::string& path);

/// True when an encode may write its container to `path` (resolved with
/// ResolveOutputPath): nothing is there yet, or a regular file that may be
/// written (a file without any write permission bit is refused even for the
/// superuser, and so is a link chain that loops, a file on a read-only file
/// system and one made immutable or append-only); its name fits the folder's
/// file system; and the folder lets a finished file be renamed into place
/// (not append-only or immutable). Otherwise false with a reason a user can
/// read that names the path and what it is.
[[nodiscard]] bool CheckOutputFile(const std::string& path, std::string* reason);

}  // namespace kePlatform
