// What a path names, before the engine reads or writes it.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ScopedFileAttribute.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "platform/keFileKind.h"
#include "platform/keUnnamedFile.h"

namespace {

/// A small file system mounted at `folder` with one file in it, then made
/// read-only, for the length of a test (needs the right to mount).
class ReadOnlyMount {
 public:
  explicit ReadOnlyMount(const std::string& folder) : folder_(folder) {
    mkdir(folder_.c_str(), 0755);
    if (mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=1m") != 0) {
      failure_ = std::string("cannot mount a file system: ") + std::strerror(errno);
      return;
    }
    mounted_ = true;
    if (!WriteWholeFile(folder_ + "/o.osq", "older") ||
        mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
      failure_ = std::string("cannot make it read-only: ") + std::strerror(errno);
  }
  ~ReadOnlyMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  const std::string& Failure() const { return failure_; }

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string failure_;
};

}  // namespace

TEST(keFileKind, OnlyARegularFileIsASource) {
  TempDir dir;
  ASSERT_TRUE(WriteWholeFile(dir.File("clip.mp4"), "x"));
  ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0600), 0);
  ASSERT_EQ(symlink("clip.mp4", dir.File("link.mp4").c_str()), 0);
  struct Case {
    std::string path;
    bool accepted;
    const char* says;
  };
  const std::vector<Case> cases = {
      {dir.File("clip.mp4"), true, ""},
      {dir.File("link.mp4"), true, ""},
      {dir.File("pipe"), false, "is a named pipe (FIFO): only a regular file can be encoded."},
      {dir.Path(), false, "is a folder"},
      {"/dev/zero", false, "is a character device"},
      {dir.File("missing.mp4"), false, "does not exist."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string reason;
    EXPECT_EQ(kePlatform::CheckSourceFile(c.path, &reason), c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(reason.find("The source file \"" + c.path + "\" "), 0u) << reason;
      EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
    }
  }
}

TEST(keFileKind, AnOutputLinkLeadsToItsTarget) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub/real.osq", dir.File("link.osq").c_str()), 0);
  ASSERT_EQ(symlink("link.osq", dir.File("chain.osq").c_str()), 0);
  ASSERT_EQ(symlink(dir.File("sub/abs.osq").c_str(), dir.File("sub/absolute.osq").c_str()), 0);
  // Dangling or not, a link names the file it leads to.
  EXPECT_EQ(kePlatform::ResolveOutputPath(dir.File("link.osq")), dir.File("sub/real.osq"));
  EXPECT_EQ(kePlatform::ResolveOutputPath(dir.File("chain.osq")), dir.File("sub/real.osq"));
  EXPECT_EQ(kePlatform::ResolveOutputPath(dir.File("sub/absolute.osq")), dir.File("sub/abs.osq"));
  EXPECT_EQ(kePlatform::ResolveOutputPath(dir.File("plain.osq")), dir.File("plain.osq"));
}

TEST(keFileKind, OnlyNothingOrAWritableRegularFileIsAnOutput) {
  TempDir dir;
  ASSERT_TRUE(WriteWholeFile(dir.File("old.osq"), "old"));
  ASSERT_TRUE(WriteWholeFile(dir.File("locked.osq"), "old"));
  ASSERT_EQ(chmod(dir.File("locked.osq").c_str(), 0444), 0);
  ASSERT_EQ(mkfifo(dir.File("pipe.osq").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("null.osq").c_str()), 0);
  ASSERT_EQ(symlink("loop-b.osq", dir.File("loop-a.osq").c_str()), 0);
  ASSERT_EQ(symlink("loop-a.osq", dir.File("loop-b.osq").c_str()), 0);
  struct Case {
    std::string path;
    bool accepted;
    const char* says;
  };
  std::vector<Case> cases = {
      {dir.File("new.osq"), true, ""},
      {dir.File("old.osq"), true, ""},
      {std::string(dir.Path() + "/") + std::string(251, 'n') + ".osq", true, ""},
      {dir.File("pipe.osq"), false, "is a named pipe (FIFO), not a regular file"},
      {dir.File("null.osq"), false, "(a link to \"/dev/null\") is a character device"},
      {dir.Path(), false, "is a folder"},
      {std::string(dir.Path() + "/") + std::string(252, 'n') + ".osq", false, "has a name of 256 bytes"},
      // The owner's protection holds against the superuser too.
      {dir.File("locked.osq"), false, "is read-only"},
      {dir.File("loop-a.osq"), false, "is a symbolic link that leads to no file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string reason;
    EXPECT_EQ(kePlatform::CheckOutputFile(c.path, &reason), c.accepted) << reason;
    if (!c.accepted) {
      EXPECT_EQ(reason.find("The output file \"" + c.path + "\""), 0u) << reason;
      EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
    }
  }
}

// What the file system forbids is said as such, not as a protection its
// owner set: a read-only file system, a file made immutable or append-only,
// and a folder where a finished output could not be renamed into place
// (found before anything is encoded, not after).
TEST(keFileKind, AnOutputTheFileSystemWillNotReplaceIsRefusedForThatReason) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("appending").c_str(), 0755), 0);
  ASSERT_TRUE(WriteWholeFile(dir.File("appending/o.osq"), "older"));
  ASSERT_TRUE(WriteWholeFile(dir.File("fixed.osq"), "older"));
  ASSERT_TRUE(WriteWholeFile(dir.File("growing.osq"), "older"));
  ScopedFileAttribute folder(dir.File("appending"), ScopedFileAttribute::kAppendOnly);
  ScopedFileAttribute fixed(dir.File("fixed.osq"), ScopedFileAttribute::kImmutable);
  ScopedFileAttribute growing(dir.File("growing.osq"), ScopedFileAttribute::kAppendOnly);
  if (!folder.Held() || !fixed.Held() || !growing.Held()) GTEST_SKIP() << folder.Failure() << fixed.Failure();
  struct Case {
    std::string path;
    std::string says;
  };
  const std::vector<Case> cases = {
      {dir.File("appending/new.osq"),
       "cannot be put in place: its folder \"" + dir.File("appending") + "\" is append-only"},
      {dir.File("appending/o.osq"), "is append-only (files can be created in it, but not renamed or removed)"},
      {dir.File("fixed.osq"), "is immutable: it cannot be replaced."},
      {dir.File("growing.osq"), "is append-only: it can be added to, but not replaced."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string reason;
    EXPECT_FALSE(kePlatform::CheckOutputFile(c.path, &reason));
    EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
    EXPECT_EQ(reason.find("owner"), std::string::npos) << reason;
  }
}

TEST(keFileKind, AReadOnlyFileSystemIsSaidToBeOne) {
  TempDir dir;
  const ReadOnlyMount readOnly(dir.File("ro"));
  if (!readOnly.Failure().empty()) GTEST_SKIP() << readOnly.Failure();
  std::string reason;
  EXPECT_FALSE(kePlatform::CheckOutputFile(dir.File("ro/o.osq"), &reason));
  EXPECT_NE(reason.find("is on a read-only file system: it cannot be replaced."), std::string::npos) << reason;
  EXPECT_EQ(reason.find("owner"), std::string::npos) << reason;
  EXPECT_FALSE(kePlatform::CheckWritableFolder(dir.File("ro"), "output", &reason));
  EXPECT_NE(reason.find("is on a read-only file system"), std::string::npos) << reason;
}
