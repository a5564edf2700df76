#include "PreviewTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(PreviewTimeTest, WholeSecondsOfThePreviewPosition) {
  struct Case {
    int64_t milliseconds;
    const char* text;
  };
  const std::vector<Case> cases = {
      {-1, "0"}, {0, "0"}, {999, "0"}, {1000, "1"}, {83900, "83"}, {7200000, "7200"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.milliseconds);
    EXPECT_EQ(SecondsFromPreviewPosition(c.milliseconds), c.text);
  }
}
