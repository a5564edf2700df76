// The writability test before a run: it must leave an existing output byte
// for byte as it was and leave no file behind where there was none.
#include "WritableFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"

TEST(WritableFileTest, AskingChangesNothing) {
  TempDir dir;
  const std::string older = dir.File("clip.osq");
  ASSERT_TRUE(WriteWholeFile(older, "older output"));
  struct stat before {};
  ASSERT_EQ(stat(older.c_str(), &before), 0);

  EXPECT_TRUE(CanOpenForWriting(older));
  EXPECT_EQ(ReadWholeFile(older), "older output");
  struct stat after {};
  ASSERT_EQ(stat(older.c_str(), &after), 0);
  EXPECT_EQ(after.st_size, before.st_size);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

  EXPECT_TRUE(CanOpenForWriting(dir.File("new.osq")));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"clip.osq"}) << "the probe of a new file is not left behind";
}

TEST(WritableFileTest, WhatCannotBeWrittenIsRefused) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("folder.osq").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(dir.File("pipe.osq").c_str(), 0644), 0);
  struct Case {
    const char* what;
    std::string path;
  };
  const std::vector<Case> cases = {
      {"a folder", dir.File("folder.osq")},
      {"a pipe nobody reads (no wait)", dir.File("pipe.osq")},
      {"a missing folder", dir.File("none/clip.osq")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(CanOpenForWriting(c.path));
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.osq", "pipe.osq"}));
}

// A file written whole after the run (the page): refused with the words a
// user reads, for what would hang the writer, would not be a file, or was
// protected by its owner, also when the superuser asks; nothing is changed.
TEST(WritableFileTest, AFileToReplaceWholeMustBeAWritableRegularFileOrNothingYet) {
  TempDir dir;
  ASSERT_EQ(mkdir(dir.File("folder.htm").c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(dir.File("pipe.htm").c_str(), 0644), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("device.htm").c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(dir.File("locked.htm"), "older page"));
  ASSERT_EQ(chmod(dir.File("locked.htm").c_str(), 0444), 0);
  ASSERT_TRUE(WriteWholeFile(dir.File("older.htm"), "older page"));
  struct Case {
    const char* what;
    std::string path;
    const char* reason;  ///< null: it may be written
  };
  const std::vector<Case> cases = {
      {"nothing yet", dir.File("new.htm"), nullptr},
      {"a writable file", dir.File("older.htm"), nullptr},
      {"a folder", dir.File("folder.htm"), "it is a folder"},
      {"a pipe", dir.File("pipe.htm"), "it is a named pipe (FIFO)"},
      {"a device through a link", dir.File("device.htm"), "it is a character device"},
      {"a read-only file", dir.File("locked.htm"), "it is read-only"},
      {"a missing folder", dir.File("none/talk.htm"), "No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string reason;
    EXPECT_EQ(CanReplaceFile(c.path, &reason), c.reason == nullptr);
    EXPECT_EQ(reason, c.reason ? c.reason : "");
  }
  EXPECT_EQ(ReadWholeFile(dir.File("older.htm")), "older page");
  EXPECT_EQ(ReadWholeFile(dir.File("locked.htm")), "older page");
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"device.htm", "folder.htm", "locked.htm", "older.htm", "pipe.htm"}));
}
