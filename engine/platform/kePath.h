// Path helpers: the one place that knows this platform's separator.
#pragma once

#include <string>

namespace kePlatform {

constexpr char kPathSeparator = '/';

/// `directory` followed by `name`, with exactly one separator between them.
std::string JoinPath(const std::string& directory, const std::string& name);

/// The part of `path` from its last separator on (separator included), or an
/// empty string when the path has none.
std::string FromLastSeparator(const std::string& path);

/// The folder part of `path`: before its last separator, "/" for a file in
/// the root, empty when the path has no separator.
std::string DirectoryOf(const std::string& path);

/// The folder to open for `path`: its DirectoryOf, "." when it has none.
std::string FolderOf(const std::string& path);

/// The part of `path` after its last separator; the whole path when it has
/// none.
std::string FileNameOf(const std::string& path);

}  // namespace kePlatform
