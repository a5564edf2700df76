// Where the program lies.
#include "AppPathSearch.h"

#include "platform/kePath.h"

std::string FindAppPathIn(const AppPathInputs& in) {
  if (!in.overrideValue.empty()) return in.overrideValue;
  if (in.argv0.empty()) return std::string();
  if (in.argv0.front() == kePlatform::kPathSeparator) return kePlatform::DirectoryOf(in.argv0);

  const auto exists = [&](const std::string& path) { return in.fileExists && in.fileExists(path); };
  if (!in.currentDir.empty()) {
    const std::string joined = kePlatform::JoinPath(in.currentDir, in.argv0);
    if (exists(joined)) return kePlatform::DirectoryOf(joined);
  }
  size_t start = 0;
  while (start <= in.pathValue.size()) {
    size_t end = in.pathValue.find(':', start);
    if (end == std::string::npos) end = in.pathValue.size();
    const std::string dir = in.pathValue.substr(start, end - start);
    if (!dir.empty()) {
      const std::string candidate = kePlatform::JoinPath(dir, in.argv0);
      if (exists(candidate)) return kePlatform::DirectoryOf(candidate);
    }
    start = end + 1;
  }
  return std::string();
}
