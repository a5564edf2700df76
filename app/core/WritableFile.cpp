#include "WritableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool CanOpenForWriting(const std::string& path) {
  // O_EXCL tells a file made here from one that was there: only the first is
  // ours to remove.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    close(fd);
    unlink(path.c_str());
    return true;
  }
  if (errno != EEXIST) return false;
  fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  close(fd);
  return true;
}
