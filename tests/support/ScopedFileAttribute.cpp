#include "ScopedFileAttribute.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

/// Adds or takes off `flag` on `path`; 0, or the errno of what failed.
int ChangeFlag(const std::string& path, int flag, bool on) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  int flags = 0;
  int failure = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) failure = errno;
  flags = on ? (flags | flag) : (flags & ~flag);
  if (failure == 0 && ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) failure = errno;
  close(fd);
  return failure;
}

}  // namespace

ScopedFileAttribute::ScopedFileAttribute(const std::string& path, Attribute attribute)
    : path_(path), flag_(attribute == kAppendOnly ? FS_APPEND_FL : FS_IMMUTABLE_FL) {
  const int failure = ChangeFlag(path_, flag_, true);
  held_ = failure == 0;
  if (!held_) failure_ = "cannot set a file attribute on \"" + path_ + "\": " + std::strerror(failure);
}

ScopedFileAttribute::~ScopedFileAttribute() {
  if (held_) ChangeFlag(path_, flag_, false);
}
