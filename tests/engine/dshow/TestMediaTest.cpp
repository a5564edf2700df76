// The generated test media: every recipe makes a file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestMedia.h"

namespace {

TEST(TestMedia, MakesEveryFile) {
  for (const std::string& name : TestMedia::Names()) {
    const std::string path = TestMedia::Path(name);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0) << name;
    if (name != "empty.avi") {
      EXPECT_GT(info.st_size, 0) << name;
    }
  }
}

}  // namespace
