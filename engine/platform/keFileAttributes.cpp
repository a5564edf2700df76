#include "keFileAttributes.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kePlatform {

keFileAttributes FileAttributesOf(const std::string& path) {
  keFileAttributes attributes;
  // Read-only and without blocking: a folder or a regular file opens so for
  // the query alone (a pipe would otherwise wait for a writer).
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return attributes;
  int flags = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    attributes.appendOnly = (flags & FS_APPEND_FL) != 0;
    attributes.immutable = (flags & FS_IMMUTABLE_FL) != 0;
  }
  close(fd);
  return attributes;
}

}  // namespace kePlatform
