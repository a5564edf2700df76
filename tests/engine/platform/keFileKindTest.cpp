// What a path names, before the engine reads or writes it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "platform/keFileKind.h"

namespace {}  // namespace

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
