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

}  // namespace kePlatform
