// The window's rules free of GUI types: clock text, integer fields, output
// names, the program's directory, the update check and the grid's lists.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "AppPathSearch.h"
#include "ClockText.h"
#include "FieldRules.h"
#include "StreamChoices.h"
#include "UpdateCheck.h"

namespace {

TEST(FormatHMSTest, FormatsHoursMinutesSeconds) {
  struct Case {
    int32_t seconds;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {0, "00:00:00"},    {59, "00:00:59"},      {60, "00:01:00"},    {3599, "00:59:59"},
      {3600, "01:00:00"}, {360000, "100:00:00"}, {86399, "23:59:59"}, {2147483647, "596523:14:07"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(FormatHMS(c.seconds), c.expected);
  }
}

TEST(FieldRulesTest, IntegerFieldsHoldDigitsOnly) {
  struct Case {
    const char* text;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"0", true},   {"1234567890", true}, {"007", true},  {"", false},   {"-5", false},    {" 5", false},
      {"5 ", false}, {"5.0", false},       {"1e3", false}, {"+1", false}, {"1,000", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsDigitsOnly(c.text), c.valid);
  }
}

TEST(FieldRulesTest, OutputNamesRefuseShellAndMarkupCharacters) {
  struct Case {
    std::string name;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"D:\\my videos\\clip_1.osq", true},
      {"/home/me/videos/clip-2;a.osq", true},
      {"", true},
      {"caf\xc3\xa9.osq", true},  // UTF-8 letters: every byte from 128 on
      {"clip\xe9.osq", true},     // a single-byte accented letter
      {"a(b", false},
      {"a&b", false},
      {"a#b", false},
      {"a[b", false},
      {"a^b", false},
      {"a{b", false},
      {"a~b", false},
      {"a@b", false},
      {"a\tb", false},
      {"a!b", false},
      {"a,b", false},
      {"a<b", false},
      {"a=b", false},
      {"a?b", false},
      {"a`b", false},
      {"a|b", false},
      {"a}b", false},
      {"a\x7f"
       "b",
       false},
      {"a\"b", false},
      {"]_\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsAllowedFileName(c.name), c.valid);
  }
}

TEST(FindAppPathTest, LooksInOverrideArgumentWorkingDirectoryThenPath) {
  const std::set<std::string> files = {"/opt/ostrel/bin/ostrel", "/work/build/app/ostrel", "/usr/local/bin/ostrel"};
  const auto exists = [&files](const std::string& path) { return files.count(path) > 0; };
  struct Case {
    const char* what;
    AppPathInputs in;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"override wins", {"/opt/ostrel/bin/ostrel", "/work", "/from/env", "/usr/bin", exists}, "/from/env"},
      {"absolute argument", {"/opt/ostrel/bin/ostrel", "/work", "", "", exists}, "/opt/ostrel/bin"},
      {"absolute argument in the root", {"/ostrel", "/work", "", "", exists}, "/"},
      {"found in the root on PATH",
       {"ostrel", "/elsewhere", "", "/", [](const std::string& p) { return p == "/ostrel"; }},
       "/"},
      {"relative to the working directory", {"build/app/ostrel", "/work", "", "", exists}, "/work/build/app"},
      {"working directory with its separator", {"build/app/ostrel", "/work/", "", "", exists}, "/work/build/app"},
      {"found on PATH", {"ostrel", "/elsewhere", "", "/usr/bin::/usr/local/bin", exists}, "/usr/local/bin"},
      {"nowhere", {"ostrel", "/elsewhere", "", "/usr/bin", exists}, ""},
      {"no argument", {"", "/work", "", "/usr/local/bin", exists}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindAppPathIn(c.in), c.expected);
  }
}

TEST(UpdateCheckTest, QuestionIsDueOnAnyOtherDate) {
  EXPECT_TRUE(IsUpdateQuestionDue("", "2026-12-10"));
  EXPECT_FALSE(IsUpdateQuestionDue("2026-12-10", "2026-12-10"));
  EXPECT_TRUE(IsUpdateQuestionDue("2026-12-09", "2026-12-10"));
  EXPECT_TRUE(IsUpdateQuestionDue("2027-01-01", "2026-12-10"));  // clock set back
}

TEST(UpdateCheckTest, ArgumentsCarryOnlyTheOptionsGiven) {
  EXPECT_EQ(UpdaterArguments(DefaultUpdaterOptions()),
            " --savelog --restart --xrc=\"webupdatedlg.xrc\" --res=\"wxWebUpdateDlg\""
            " --xml=\"webupdate_std.xml\"");

  UpdaterOptions options = DefaultUpdaterOptions();
  options.saveLog = false;
  options.address = "http://example.invalid/u";
  EXPECT_EQ(UpdaterArguments(options),
            " --restart --xrc=\"webupdatedlg.xrc\" --res=\"wxWebUpdateDlg\""
            " --xml=\"webupdate_std.xml\" --uri=\"http://example.invalid/u\"");
  EXPECT_EQ(UpdaterArguments(UpdaterOptions{}), "");
}

TEST(StreamChoicesTest, ListsHoldTheirEntriesInOrder) {
  const std::vector<std::string>& sizes = SizeChoices();
  ASSERT_EQ(sizes.size(), 63u);
  EXPECT_EQ(sizes.front(), "992");
  EXPECT_EQ(sizes[1], "976");
  EXPECT_EQ(sizes[61], "16");
  EXPECT_EQ(sizes.back(), "0");

  const std::vector<std::string> fps = {"5",  "6",  "7",  "8",  "9",  "10", "11", "12", "12.5", "13", "14",
                                        "15", "16", "17", "18", "19", "20", "21", "22", "23",   "24", "25"};
  EXPECT_EQ(FpsChoices(), fps);
  const std::vector<std::string> audio = {"8",  "12", "16", "22",  "32",  "40",  "48", "56",
                                          "64", "80", "96", "112", "128", "144", "196"};
  EXPECT_EQ(AudioBitrateChoices(), audio);
}

TEST(StreamChoicesTest, EditedSizesRiseToAMultipleOf16) {
  struct Case {
    const char* text;
    const char* raised;  ///< null: left as it is
  };
  const std::vector<Case> cases = {
      {"17", "32"},   {"330", "336"},   {"1", "16"},   {"15", "16"},   {"320", nullptr},
      {"0", nullptr}, {"abc", nullptr}, {"", nullptr}, {"20px", "32"}, {"99999999999999999999", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string raised = "untouched";
    EXPECT_EQ(RaiseToSizeStep(c.text, &raised), c.raised != nullptr);
    EXPECT_EQ(raised, c.raised ? c.raised : "untouched");
  }
}

}  // namespace
