#include "keProcessStart.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace kePlatform {

void OpenClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // Inherited by what the program starts, as a standard descriptor is.
    int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    // Without /dev/null (a bare chroot), a folder holds the place: reading
    // and writing it fail quietly, and no file the program opens gets it.
    if (opened < 0) opened = open("/", O_RDONLY | O_DIRECTORY);
    if (opened < 0 || opened == fd) continue;
    dup2(opened, fd);
    close(opened);
  }
}

void IgnoreFileSizeSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  sigaction(SIGXFSZ, &action, nullptr);
}

void SettleProcessStart() {
  OpenClosedStandardDescriptors();
  IgnoreFileSizeSignal();
}

bool CatchUnlessIgnored(int signal, void (*handler)(int)) {
  struct sigaction current {};
  if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) return false;
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  return sigaction(signal, &action, nullptr) == 0;
}

}  // namespace kePlatform
