#include "keFileKind.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "keFileAttributes.h"
#include "kePath.h"

namespace kePlatform {

namespace {

/// How many links a chain may hold, as the system's own limit for paths.
constexpr int kMostLinks = 40;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

bool CheckSourceFile(const std::string& path, std::string* reason) {
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = "The source file " + Quoted(path) + " " + why;
    return false;
  };
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return refuse("does not exist.");
    return refuse(std::string("cannot be read: ") + std::strerror(errno) + ".");
  }
  if (!S_ISREG(info.st_mode)) return refuse("is " + KindOf(info.st_mode) + ": only a regular file can be encoded.");
  return true;
}

std::string ResolveOutputPath(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(current.c_str(), target.data(), target.size());
    if (length <= 0) return current;
    target.resize(static_cast<size_t>(length));
    current = target.front() == kPathSeparator ? target : JoinPath(FolderOf(current), target);
  }
  return current;  // a loop or a chain too long: still a link, which CheckOutputFile refuses
}

bool CheckOutputFile(const std::string& path, std::string* reason) {
  const std::string target = ResolveOutputPath(path);
  const std::string named = target == path ? Quoted(path) : Quoted(path) + " (a link to " + Quoted(target) + ")";
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = "The output file " + named + " " + why;
    return false;
  };
  const std::string name = FileNameOf(target);
  const long longest = pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
  if (longest > 0 && name.size() > static_cast<size_t>(longest))
    return refuse("has a name of " + std::to_string(name.size()) + " bytes: the file system takes at most " +
                  std::to_string(longest) + ".");
  struct stat info {};
  // Renaming over a link that never reaches a file would replace the link.
  if (lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
    return refuse("is a symbolic link that leads to no file: its links go round in a loop or are too many.");
  // The container is put in place by renaming it over the output: a folder
  // that forbids renaming would be found only after the whole encode.
  const std::string folder = FolderOf(target);
  const keFileAttributes folderAttributes = FileAttributesOf(folder);
  if (folderAttributes.immutable)
    return refuse("cannot be put in place: its folder " + Quoted(folder) +
                  " is immutable (nothing in it can be created, renamed or removed).");
  if (folderAttributes.appendOnly)
    return refuse("cannot be put in place: its folder " + Quoted(folder) +
                  " is append-only (files can be created in it, but not renamed or removed).");
  if (stat(target.c_str(), &info) != 0) return true;  // nothing there yet: the folder check decides
  if (!S_ISREG(info.st_mode))
    return refuse("is " + KindOf(info.st_mode) + ", not a regular file: an encode would replace it.");
  if (access(target.c_str(), W_OK) != 0 && errno == EROFS)
    return refuse("is on a read-only file system: it cannot be replaced.");
  const keFileAttributes attributes = FileAttributesOf(target);
  if (attributes.immutable) return refuse("is immutable: it cannot be replaced.");
  if (attributes.appendOnly) return refuse("is append-only: it can be added to, but not replaced.");
  // The mode bits as its owner set them, whoever runs the encode: the
  // superuser passes access() on any file, and would replace a protected one.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0)
    return refuse("is read-only: its owner protected it from being replaced.");
  return true;
}

}  // namespace kePlatform
