#include "WritableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/keFileKind.h"

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

bool CanReplaceFile(const std::string& path, std::string* reason) {
  auto refuse = [reason](const std::string& why) {
    if (reason) *reason = why;
    return false;
  };
  struct stat info {};
  // Asked before anything is opened: writing into a pipe without a reader
  // would wait for ever, and into a device would not make a file at all.
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return refuse("it is " + kePlatform::KindOf(info.st_mode));
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return refuse("it is read-only");
  }
  errno = 0;
  if (CanOpenForWriting(path)) return true;
  return refuse(errno != 0 ? std::strerror(errno) : "it cannot be opened for writing");
}
