// Files without a name and how one is put in place of an output: on a file
// system that makes them (O_TMPFILE) and on one that cannot, where a hidden
// named file stands in for them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ScopedFileAttribute.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "platform/keUnnamedFile.h"

namespace {

using kePlatform::keUnnamedFile;

/// The test's parameter: whether the file system is taken to lack O_TMPFILE.
class keUnnamedFileOnEitherPath : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { keUnnamedFile::UseNamedFilesOnly(GetParam()); }
  void TearDown() override { keUnnamedFile::UseNamedFilesOnly(false); }
};

/// Writes `text` into a new file that is then put in place of `path`.
void Replace(const std::string& path, const std::string& text) {
  keUnnamedFile file;
  std::string error;
  ASSERT_TRUE(file.OpenToPublish(path, &error)) << error;
  ASSERT_EQ(write(file.Descriptor(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
  ASSERT_TRUE(file.Publish(path, &error)) << error;
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info;
}

}  // namespace

// A private output stays private; a new one gets the mode the umask gives,
// as fopen would have made it.
TEST_P(keUnnamedFileOnEitherPath, APublishedFileTakesTheModeOfTheFileItReplaces) {
  struct Case {
    const char* what;
    mode_t older;  ///< 0: no older file
    mode_t umask;
    mode_t expected;
  };
  const std::vector<Case> cases = {
      {"a private output", 0600, 022, 0600},           {"an output for its group", 0640, 077, 0640},
      {"an output anyone may write", 0666, 022, 0666}, {"a new output, umask 022", 0, 022, 0644},
      {"a new output, umask 077", 0, 077, 0600},       {"a new output, umask 002", 0, 002, 0664},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.File("o.osq");
    if (c.older != 0) {
      ASSERT_TRUE(WriteWholeFile(path, "older"));
      ASSERT_EQ(chmod(path.c_str(), c.older), 0);
    }
    const mode_t before = umask(c.umask);
    Replace(path, "new");
    umask(before);
    EXPECT_EQ(StatOf(path).st_mode & 07777, c.expected);
    EXPECT_EQ(ReadWholeFile(path), "new");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
  }
}

// The superuser replacing another user's file gives the new file to that
// user and group, so that the user keeps it and others gain nothing.
TEST_P(keUnnamedFileOnEitherPath, APublishedFileKeepsTheOwnerAndGroupItMaySet) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser may give a file away";
  TempDir dir;
  const std::string path = dir.File("o.osq");
  ASSERT_TRUE(WriteWholeFile(path, "older"));
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  Replace(path, "new");
  const struct stat info = StatOf(path);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// In a folder that lets files be created but never renamed or removed, no
// file that could stay there for good is made: the output is refused at once,
// and a temporary file is made only where it has no name at all.
TEST_P(keUnnamedFileOnEitherPath, NothingIsLeftInAFolderThatForbidsRenaming) {
  TempDir dir;
  const std::string path = dir.File("o.osq");
  ASSERT_TRUE(WriteWholeFile(path, "older"));
  // Without a name until it is put in place: the folder may change meanwhile.
  keUnnamedFile late;
  std::string error;
  if (!GetParam()) {
    ASSERT_TRUE(late.OpenToPublish(path, &error)) << error;
  }
  ScopedFileAttribute appendOnly(dir.Path(), ScopedFileAttribute::kAppendOnly);
  if (!appendOnly.Held()) GTEST_SKIP() << appendOnly.Failure();

  keUnnamedFile output;
  EXPECT_FALSE(output.OpenToPublish(path, &error));
  EXPECT_NE(error.find("append-only"), std::string::npos) << error;
  keUnnamedFile temporary;
  EXPECT_EQ(temporary.Open(dir.Path(), &error), !GetParam()) << error;
  temporary.Discard();
  if (!GetParam()) {
    EXPECT_FALSE(late.Publish(path, &error));
    EXPECT_NE(error.find("append-only"), std::string::npos) << error;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
  EXPECT_EQ(ReadWholeFile(path), "older");
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, keUnnamedFileOnEitherPath, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("NamedFallback") : std::string("Unnamed");
                         });
