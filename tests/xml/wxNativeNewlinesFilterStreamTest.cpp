// Line-end translation of the output filter, for this platform's "\n" and for "\r\n".
#include "FailingOutputStream.h"
#include "wxNativeNewlinesFilterStream.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <string>
#include <vector>

namespace {

std::string Contents(const wxMemoryOutputStream& stream) {
  std::string text(stream.GetSize(), '\0');
  stream.CopyTo(text.data(), text.size());
  return text;
}

TEST(NativeNewlinesFilter, TranslatesEveryLineFeedAndNothingElse) {
  struct Case {
    std::string lineEnd;
    std::string input;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"\n", "a\nb\n", "a\nb\n"},
      {"\n", "a\r\nb", "a\r\nb"},
      {"\r\n", "a\nb\n", "a\r\nb\r\n"},
      {"\r\n", "\n\n", "\r\n\r\n"},
      {"\r\n", "a\r\nb", "a\r\r\nb"},  // a CR already there passes unchanged
      {"\r\n", "no line end", "no line end"},
      {"\r\n", std::string("x\0\ny", 4), std::string("x\0\r\ny", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.lineEnd) + " " + testing::PrintToString(c.input));
    wxMemoryOutputStream parent;
    {
      wxNativeNewlinesFilterStream filter(parent, c.lineEnd);
      filter.Write(c.input.data(), c.input.size());
      // The filter reports the bytes it took, not what the parent received.
      EXPECT_EQ(filter.LastWrite(), c.input.size());
      EXPECT_TRUE(filter.IsOk());
    }
    EXPECT_EQ(Contents(parent), c.expected);
  }
}

TEST(NativeNewlinesFilter, PlatformLineEndIsTheDefault) {
  EXPECT_EQ(wxNativeNewlinesFilterStream::NativeLineEnd(), "\n");
  wxMemoryOutputStream parent;
  wxNativeNewlinesFilterStream filter(parent);
  filter.Write("a\nb", 3);
  EXPECT_EQ(Contents(parent), "a\nb");
}

TEST(NativeNewlinesFilter, ParentFailureIsReportedAsAShortWrite) {
  for (const std::string lineEnd : {"\n", "\r\n"}) {
    SCOPED_TRACE(testing::PrintToString(lineEnd));
    FailingOutputStream parent(3);
    wxNativeNewlinesFilterStream filter(parent, lineEnd);
    filter.Write("ab\ncd", 5);
    EXPECT_LT(filter.LastWrite(), 5u);
    EXPECT_FALSE(filter.IsOk());
  }
}

}  // namespace
