#include "keUnnamedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "kePath.h"

namespace kePlatform {

namespace {

std::string SystemReason() { return std::strerror(errno); }

/// A name in `folder` that nothing uses yet, for the moment between linking a
/// finished file and renaming it over the output. Of a fixed length, not
/// made from the output's name: any name the output may have, however long,
/// leaves room for it.
std::string UniqueSiblingName(const std::string& folder) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  char name[40];
  std::snprintf(name, sizeof name, ".ostrel-%016llx.part", static_cast<unsigned long long>(random()));
  return JoinPath(folder, name);
}

}  // namespace

keUnnamedFile::~keUnnamedFile() { Discard(); }

bool keUnnamedFile::Open(const std::string& directory, bool publishable, std::string* error) {
  Discard();
  published_ = false;
  const std::string folder = directory.empty() ? "." : directory;
  // O_TMPFILE without O_EXCL: a file that has no name but may be given one.
  // Mode 0666 as fopen would create it: the umask decides.
  fd_ = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (fd_ >= 0) return true;
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    if (error) *error = "cannot create a file in \"" + folder + "\": " + SystemReason();
    return false;
  }
  // The file system cannot do it: a named file, unnamed at once unless it is
  // to become the output.
  std::string pattern = JoinPath(folder, ".ostrel-XXXXXX.part");
  fd_ = mkostemps(pattern.data(), 5, O_CLOEXEC);
  if (fd_ < 0) {
    if (error) *error = "cannot create a file in \"" + folder + "\": " + SystemReason();
    return false;
  }
  if (publishable) {
    fallbackName_ = pattern;
    fchmod(fd_, 0644);  // mkstemp makes it private; an output is for others to read
  } else {
    unlink(pattern.c_str());
  }
  return true;
}

bool keUnnamedFile::Publish(const std::string& path, std::string* error) {
  if (fd_ < 0) {
    if (error) *error = "cannot write \"" + path + "\": the file is not open";
    return false;
  }
  if (fsync(fd_) != 0) {
    if (error) *error = "cannot write \"" + path + "\": " + SystemReason();
    return false;
  }
  std::string staged = fallbackName_;
  if (staged.empty()) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0;; ++attempt) {
      staged = UniqueSiblingName(FolderOf(path));
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, staged.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      // Without /proc, the descriptor itself (needs the right to do so).
      if (errno == ENOENT && linkat(fd_, "", AT_FDCWD, staged.c_str(), AT_EMPTY_PATH) == 0) break;
      if (errno != EEXIST || attempt == 10) {
        if (error) *error = "cannot create \"" + path + "\": " + SystemReason();
        return false;
      }
    }
  }
  if (rename(staged.c_str(), path.c_str()) != 0) {
    if (error) *error = "cannot replace \"" + path + "\": " + SystemReason();
    unlink(staged.c_str());
    fallbackName_.clear();
    return false;
  }
  fallbackName_.clear();
  published_ = true;
  return true;
}

void keUnnamedFile::Discard() {
  if (!fallbackName_.empty() && !published_) unlink(fallbackName_.c_str());
  fallbackName_.clear();
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool CheckWritableFolder(const std::string& folder, const std::string& role, std::string* reason) {
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = "The " + role + " folder \"" + folder + "\" " + why;
    return false;
  };
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return refuse("cannot be used: " + SystemReason() + ".");
  if (!S_ISDIR(info.st_mode)) return refuse("is not a folder.");
  if (access(folder.c_str(), W_OK | X_OK) != 0) return refuse("cannot be written to: " + SystemReason() + ".");
  // A first write of the size the engine writes at once, on the disk itself:
  // a full disk or a read-only mount shows here instead of at the end.
  constexpr size_t kFirstWrite = 64 * 1024;
  keUnnamedFile probe;
  std::string error;
  if (!probe.Open(folder, false, &error))
    return refuse("cannot be written to: " + error.substr(error.rfind(": ") + 2) + ".");
  const std::vector<char> block(kFirstWrite, 0);
  const ssize_t written = write(probe.Descriptor(), block.data(), block.size());
  if (written < 0) return refuse("cannot be written to: " + SystemReason() + ".");
  if (written != static_cast<ssize_t>(block.size())) return refuse("has no room left.");
  if (fsync(probe.Descriptor()) != 0) return refuse("cannot be written to: " + SystemReason() + ".");
  struct statvfs space {};
  if (fstatvfs(probe.Descriptor(), &space) == 0 &&
      static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < kFirstWrite)
    return refuse("has no room left.");
  return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace kePlatform
