// The applet page against pages written out by hand, byte for byte, and the
// names it derives from the output path.
#include "HtmlPage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"

namespace {

std::filesystem::path ExpectedFile(const std::string& name) {
  return std::filesystem::path(OSTREL_APP_CORE_TEST_DIR) / "expected" / name;
}

HtmlPageLinks TestLinks() { return {"http://java.test/download", "http://www.harwelco.test/", "www.harwelco.test"}; }

HtmlPageContent TalkPage(bool toolbar) {
  HtmlPageContent content;
  content.outputPath = "/clips/talk.osq";
  content.streamNames = {"ADSL1"};
  content.widestOutput = 320;
  content.tallestOutput = 240;
  content.toolbar = toolbar;
  content.links = TestLinks();
  return content;
}

TEST(HtmlPageTest, PagesMatchTheExpectedFilesByteForByte) {
  HtmlPageContent oddNames;
  oddNames.outputPath = "/v/my.talk & <b>.osq";
  // Markup in a name or the file name is shown, never obeyed.
  oddNames.streamNames = {"Modem", "A&B <1> \"q\"", "MEGA"};
  oddNames.widestOutput = 512;
  oddNames.tallestOutput = 416;
  oddNames.links = TestLinks();

  struct Case {
    const char* expected;
    HtmlPageContent content;
  };
  const std::vector<Case> cases = {
      {"talk_toolbar.htm", TalkPage(true)},
      {"talk_plain.htm", TalkPage(false)},
      {"odd_names.htm", oddNames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const std::string expected = ReadWholeFile(ExpectedFile(c.expected));
    ASSERT_FALSE(expected.empty()) << "expected file missing";
    EXPECT_EQ(WithCrLfLineEnds(BuildHtmlPageText(c.content)), expected);
  }
}

TEST(HtmlPageTest, NamesDerivedFromTheOutputPath) {
  struct Case {
    std::string output, page, fileName, directory;
  };
  const std::vector<Case> cases = {
      {"/clips/talk.osq", "/clips/talk.htm", "talk.osq", "/clips"},
      {"/clips/my.talk.osq", "/clips/my.talk.htm", "my.talk.osq", "/clips"},
      {"/clips/talk.jpg", "/clips/talk.htm", "talk.jpg", "/clips"},
      {"talk.osq", "talk.htm", "talk.osq", ""},
      {"/talk.osq", "/talk.htm", "talk.osq", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    EXPECT_EQ(HtmlPagePath(c.output), c.page);
    EXPECT_EQ(OutputFileName(c.output), c.fileName);
    EXPECT_EQ(OutputDirectory(c.output), c.directory);
  }
}

TEST(HtmlPageTest, StreamListJoinsTheEncodedNames) {
  EXPECT_EQ(JoinedStreamList({}), "");
  EXPECT_EQ(JoinedStreamList({"ADSL1"}), "ADSL1");
  EXPECT_EQ(JoinedStreamList({"Modem", "ADSL1", "MEGA"}), "Modem, ADSL1, MEGA");
}

TEST(HtmlPageTest, PageTextEscapesMarkupAndKeepsTheDeclaredCharset) {
  struct Case {
    std::string utf8, page;
  };
  const std::vector<Case> cases = {
      {"A&B <b>x</b> \"q\"", "A&amp;B &lt;b&gt;x&lt;/b&gt; &quot;q&quot;"},
      {"caf\xC3\xA9", "caf\xE9"},         // U+00E9: one iso-8859-1 byte
      {"\xE2\x82\xAC 5", "&#8364; 5"},    // the euro sign, beyond the charset
      {"\xF0\x9F\x8E\xAC", "&#127916;"},  // four bytes
      {"it's plain", "it's plain"},
      {"bad \xFF byte", "bad \xFF byte"},  // not UTF-8: kept as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(PageText(c.utf8), c.page);
  }
}

// The page is built from the run's plan: its names and the sizes encoded.
TEST(HtmlPageTest, ContentComesFromThePlan) {
  EncodePlan plan;
  plan.outputPath = "/clips/talk.osq";
  plan.page.toolbar = true;
  ProfilePlan odd;
  odd.name = "Odd";
  odd.encodedWidth = 336;
  odd.encodedHeight = 256;
  ProfilePlan small;
  small.name = "Small";
  small.encodedWidth = 160;
  small.encodedHeight = 272;
  plan.profiles = {odd, small};
  const HtmlPageContent content = HtmlPageContentOf(plan, TestLinks());
  EXPECT_EQ(content.streamNames, (std::vector<std::string>{"Odd", "Small"}));
  EXPECT_EQ(content.widestOutput, 336);
  EXPECT_EQ(content.tallestOutput, 272);
  EXPECT_TRUE(content.toolbar);
  const std::string page = BuildHtmlPageText(content);
  EXPECT_NE(page.find(" width=\"338\" height=\"299\""), std::string::npos);
}

TEST(HtmlPageTest, WritingTruncatesAnExistingPage) {
  TempDir dir;
  const std::string path = dir.Path() + "/talk.htm";
  ASSERT_TRUE(WriteWholeFile(path, std::string(20000, 'x')));
  std::string error;
  ASSERT_TRUE(WriteHtmlPageFile(path, "<p>a\nb\n", &error)) << error;
  EXPECT_EQ(ReadWholeFile(path), "<p>a\r\nb\r\n");
}

TEST(HtmlPageTest, PageThatCannotBeCreatedWritesNothingAndSaysWhy) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteHtmlPageFile(dir.Path() + "/missing/talk.htm", "text\n", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/missing"));

  // A read-only folder (root ignores the mode, so only check it when it holds).
  const std::string locked = dir.Path() + "/locked";
  std::filesystem::create_directory(locked);
  chmod(locked.c_str(), 0555);
  if (!std::ofstream(locked + "/probe")) {
    EXPECT_FALSE(WriteHtmlPageFile(locked + "/talk.htm", "text\n", &error));
    EXPECT_FALSE(std::filesystem::exists(locked + "/talk.htm"));
  }
  chmod(locked.c_str(), 0755);
}

}  // namespace
