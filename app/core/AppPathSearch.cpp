// Where the program lies.
#include "AppPathSearch.h"

#include "kePath.h"

namespace {

std::string DirectoryPart(const std::string& path) {
  const size_t at = path.rfind(kePlatform::kPathSeparator);
  if (at == std::string::npos) return std::string();
  // A program in the root directory lies in "/", not in "" (the current one).
  if (at == 0) return path.substr(0, 1);
  return path.substr(0, at);
}

}  // namespace

std::string FindAppPathIn(const AppPathInputs& in) {
  if (!in.overrideValue.empty()) return in.overrideValue;
  if (in.argv0.empty()) return std::string();
  if (in.argv0.front() == kePlatform::kPathSeparator) return DirectoryPart(in.argv0);

  const auto exists = [&](const std::string& path) { return in.fileExists && in.fileExists(path); };
  if (!in.currentDir.empty()) {
    const std::string joined = kePlatform::JoinPath(in.currentDir, in.argv0);
    if (exists(joined)) return DirectoryPart(joined);
  }
  size_t start = 0;
  while (start <= in.pathValue.size()) {
    size_t end = in.pathValue.find(':', start);
    if (end == std::string::npos) end = in.pathValue.size();
    const std::string dir = in.pathValue.substr(start, end - start);
    if (!dir.empty()) {
      const std::string candidate = kePlatform::JoinPath(dir, in.argv0);
      if (exists(candidate)) return DirectoryPart(candidate);
    }
    start = end + 1;
  }
  return std::string();
}
