#include "OutputExtension.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(OutputExtensionTest, OnlyTheFileNamesLastDotCounts) {
  struct Case {
    std::string path, extension, expected;
  };
  const std::vector<Case> cases = {
      {"/v/clip.osq", "jpg", "/v/clip.jpg"},
      {"/v/clip.jpg", "osq", "/v/clip.osq"},
      {"/v/my.clip.osq", "jpg", "/v/my.clip.jpg"},
      {"/v/clip.osq", "htm", "/v/clip.htm"},
      {"clip.osq", "jpg", "clip.jpg"},
      // No extension to replace: one is added, folder names keep their dots.
      {"/v.d/clip", "jpg", "/v.d/clip.jpg"},
      {"clip", "jpg", "clip.jpg"},
      {"/v/clip.", "jpg", "/v/clip.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(WithExtension(c.path, c.extension), c.expected);
  }
}
