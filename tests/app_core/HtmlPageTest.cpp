// The applet page against pages written out by hand, byte for byte, and the
// names it derives from the output path.
#include "HtmlPage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"

namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path ExpectedFile(const std::string& name) {
  return std::filesystem::path(OSTREL_APP_CORE_TEST_DIR) / "expected" / name;
}

HtmlPageLinks TestLinks() {
  return {"http://java.test/download", "http://www.harwelco.test/", "www.harwelco.test"};
}

HtmlPageContent TalkPage(bool toolbar) {
  HtmlPageContent content;
  content.outputPath = "/clips/talk.osq";
  content.rows = FactoryStreamProfileRows();  // ADSL1 alone selected
  content.widestOutput = 320;
  content.tallestOutput = 240;
  content.toolbar = toolbar;
  content.links = TestLinks();
  return content;
}

TEST(HtmlPageTest, PagesMatchTheExpectedFilesByteForByte) {
  HtmlPageContent oddNames;
  oddNames.outputPath = "/v/my.talk & <b>.osq";
  oddNames.rows = FactoryStreamProfileRows();
  oddNames.rows[0][kColumnEncode] = "1";  // Modem
  oddNames.rows[2][kColumnEncode] = "1";  // ADSL1, renamed below
  oddNames.rows[2][kColumnName] = "A&B <1>";
  oddNames.rows[4][kColumnEncode] = "1";  // MEGA
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
    const std::string expected = ReadBytes(ExpectedFile(c.expected));
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

TEST(HtmlPageTest, StreamListHoldsOnlySelectedRowsWithoutEmptyEntries) {
  StreamProfileRows rows = FactoryStreamProfileRows();
  EXPECT_EQ(SelectedStreamList(rows), "ADSL1");
  rows[2][kColumnEncode] = "";
  EXPECT_EQ(SelectedStreamList(rows), "");
  rows[8] = {"1", "Last", "", "", "", "", ""};
  rows[0][kColumnEncode] = "1";
  EXPECT_EQ(SelectedStreamList(rows), "Modem, Last");
  // A selected row without a name still counts, as the grid holds it.
  rows[5] = {"x", "", "", "", "", "", ""};
  EXPECT_EQ(SelectedStreamList(rows), "Modem, , Last");
}

TEST(HtmlPageTest, WritingTruncatesAnExistingPage) {
  TempDir dir;
  const std::string path = dir.Path() + "/talk.htm";
  { std::ofstream(path) << std::string(20000, 'x'); }
  std::string error;
  ASSERT_TRUE(WriteHtmlPageFile(path, "<p>a\nb\n", &error)) << error;
  EXPECT_EQ(ReadBytes(path), "<p>a\r\nb\r\n");
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
