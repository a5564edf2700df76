#include "keUnnamedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "keFileAttributes.h"
#include "kePath.h"

namespace kePlatform {

namespace {

std::atomic<bool> gNamedFilesOnly{false};

/// The mode a file that replaces an older one is made with: nobody else may
/// open it before it has taken the older file's permissions.
constexpr mode_t kPrivateMode = 0600;
/// The mode a new file is made with, before the umask: fopen's.
constexpr mode_t kNewFileMode = 0666;

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

/// Why a name made in `folder` could never be removed or renamed again;
/// empty when it could.
std::string NameWouldStick(const std::string& folder) {
  const keFileAttributes attributes = FileAttributesOf(folder);
  if (attributes.immutable) return "the folder is immutable (nothing in it can be created, renamed or removed)";
  if (attributes.appendOnly)
    return "the folder is append-only (files can be created in it, but not renamed or removed)";
  return std::string();
}

/// Gives the file open at `fd` the permission bits of the regular file at
/// `path`, and its owner and group as far as the process may set them, so
/// that replacing a private file does not make it readable to others.
void TakeOverAccess(int fd, const std::string& path) {
  struct stat older {};
  struct stat mine {};
  if (stat(path.c_str(), &older) != 0 || !S_ISREG(older.st_mode) || fstat(fd, &mine) != 0) return;
  if (mine.st_uid != older.st_uid || mine.st_gid != older.st_gid) {
    // The superuser may give the file away; anyone may give it a group of
    // their own. Otherwise it stays the process's.
    if (fchown(fd, older.st_uid, older.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), older.st_gid) != 0) {
    }
    if (fstat(fd, &mine) != 0) return;
  }
  // Set-user and set-group bits only with the owner and group they were set for.
  const bool sameOwners = mine.st_uid == older.st_uid && mine.st_gid == older.st_gid;
  if (fchmod(fd, older.st_mode & (sameOwners ? 07777 : 0777)) != 0) {
    // It stays private (kPrivateMode): nobody is given more than before.
  }
}

}  // namespace

keUnnamedFile::~keUnnamedFile() { Discard(); }

void keUnnamedFile::UseNamedFilesOnly(bool namedOnly) { gNamedFilesOnly = namedOnly; }

bool keUnnamedFile::Open(const std::string& directory, std::string* error) {
  return Create(directory.empty() ? "." : directory, kPrivateMode, false, error);
}

bool keUnnamedFile::OpenToPublish(const std::string& path, std::string* error) {
  const std::string folder = FolderOf(path);
  // Checked before anything is made: an output that could not be put in
  // place would be found only after the whole encode, and its named file
  // could never be removed.
  const std::string stuck = NameWouldStick(folder);
  if (!stuck.empty()) {
    Discard();
    if (error) *error = "cannot put a file in place in \"" + folder + "\": " + stuck;
    return false;
  }
  struct stat older {};
  const bool replaces = stat(path.c_str(), &older) == 0 && S_ISREG(older.st_mode);
  return Create(folder, replaces ? kPrivateMode : kNewFileMode, true, error);
}

bool keUnnamedFile::Create(const std::string& folder, mode_t mode, bool keepName, std::string* error) {
  Discard();
  published_ = false;
  auto fail = [&](const std::string& why) {
    if (error) *error = "cannot create a file in \"" + folder + "\": " + why;
    return false;
  };
  if (!gNamedFilesOnly) {
    // O_TMPFILE without O_EXCL: a file that has no name but may be given one.
    fd_ = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
    if (fd_ >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return fail(SystemReason());
  }
  // The file system cannot do it: a named file, unnamed at once unless it is
  // to become the output. None is made where it could not be removed again.
  const std::string stuck = NameWouldStick(folder);
  if (!stuck.empty()) return fail(stuck);
  for (int attempt = 0;; ++attempt) {
    const std::string name = UniqueSiblingName(folder);
    fd_ = open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, mode);
    if (fd_ >= 0) {
      if (keepName) fallbackName_ = name;
      else unlink(name.c_str());
      return true;
    }
    if (errno != EEXIST || attempt == 10) return fail(SystemReason());
  }
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
  // Before it has a name: nobody can open it with more than it will allow.
  TakeOverAccess(fd_, path);
  std::string staged = fallbackName_;
  if (staged.empty()) {
    // The folder may have changed since the file was made: a link it could
    // not rename nor remove would stay there for good.
    const std::string stuck = NameWouldStick(FolderOf(path));
    if (!stuck.empty()) {
      if (error) *error = "cannot put \"" + path + "\" in place: " + stuck;
      return false;
    }
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
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    if (errno == EROFS) return refuse("is on a read-only file system: nothing can be written there.");
    return refuse("cannot be written to: " + SystemReason() + ".");
  }
  // A first write of the size the engine writes at once, on the disk itself:
  // a full disk or a read-only mount shows here instead of at the end.
  constexpr size_t kFirstWrite = 64 * 1024;
  keUnnamedFile probe;
  std::string error;
  if (!probe.Open(folder, &error)) return refuse("cannot be written to: " + error.substr(error.rfind(": ") + 2) + ".");
  const std::vector<char> block(kFirstWrite, 0);
  for (size_t done = 0; done < block.size();) {
    // A short write says little; the next one tells why (a full disk, the
    // limit on file sizes).
    const ssize_t written = write(probe.Descriptor(), block.data() + done, block.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == ENOSPC) return refuse("has no room left.");
    if (written < 0) return refuse("cannot be written to: " + SystemReason() + ".");
    if (written == 0) return refuse("has no room left.");
    done += static_cast<size_t>(written);
  }
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
