#include "keTempFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "kePath.h"

namespace kePlatform {

FILE* CreateUniqueTempFile(const std::string& directory, std::string& path,
                           std::string& error) {
  std::string pattern = JoinPath(directory, "ostrel-XXXXXX.tmp");
  int fd = mkstemps(pattern.data(), 4);
  if (fd < 0) {
    error = "cannot create a temporary file in \"" + directory + "\": " + std::strerror(errno);
    path.clear();
    return nullptr;
  }
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    error = "cannot open temporary file \"" + pattern + "\": " + std::strerror(errno);
    close(fd);
    unlink(pattern.c_str());
    path.clear();
    return nullptr;
  }
  path = pattern;
  return file;
}

}  // namespace kePlatform
