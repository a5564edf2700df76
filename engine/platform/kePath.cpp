#include "kePath.h"

namespace kePlatform {

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  std::string joined = directory;
  if (joined.back() != kPathSeparator) joined += kPathSeparator;
  size_t skip = 0;
  while (skip < name.size() && name[skip] == kPathSeparator) ++skip;
  joined.append(name, skip, std::string::npos);
  return joined;
}

std::string FromLastSeparator(const std::string& path) {
  size_t at = path.rfind(kPathSeparator);
  return at == std::string::npos ? std::string() : path.substr(at);
}

std::string DirectoryOf(const std::string& path) {
  const size_t at = path.rfind(kPathSeparator);
  if (at == std::string::npos) return std::string();
  // A file in the root directory lies in "/", not in "" (the current one).
  return path.substr(0, at == 0 ? 1 : at);
}

std::string FolderOf(const std::string& path) {
  const std::string directory = DirectoryOf(path);
  return directory.empty() ? "." : directory;
}

std::string FileNameOf(const std::string& path) {
  const size_t at = path.rfind(kPathSeparator);
  return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace kePlatform
