// Unique temporary files inside a given directory.
#pragma once

#include <cstdio>
#include <string>

namespace kePlatform {

/// Creates a new, empty file with a unique name inside `directory` and opens
/// it for binary writing. On success returns the open file and stores the full
/// path in `path`; on failure returns null and stores the reason in `error`.
FILE* CreateUniqueTempFile(const std::string& directory, std::string& path,
                           std::string& error);

}  // namespace kePlatform
