// The encode control's page writer with the plan of a finished run: where the
// page goes, what it names, the copies beside it, the browser, and every
// failure logged while the other steps still run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "AppTestSupport.h"
#include "abstractMainFrame.h"
#include "appUtils.h"

namespace fs = std::filesystem;

namespace {

ProfilePlan Profile(const std::string& name, int encodedWidth, int encodedHeight) {
  ProfilePlan profile;
  profile.name = name;
  profile.encodedWidth = encodedWidth;
  profile.encodedHeight = encodedHeight;
  return profile;
}

// The program's folder is the fixture's own; the outputs go into a folder
// beside it.
class WriteHtmlPageTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    program = programDir;
    outputDir = program / "clips";
    fs::create_directories(outputDir);

    plan.outputPath = (outputDir / "talk.osq").string();
    plan.profiles = {Profile("ADSL1", 320, 240)};
  }

  void Write(bool toolbar, bool show) {
    plan.page = {true, toolbar, show};
    control.WriteHtmlPage(plan);
  }

  void PutBesideProgram(const std::string& name, const std::string& bytes) { WriteWholeFile(program / name, bytes); }

  fs::path program, outputDir;
  EncodePlan plan;
  abstractMainFrame control;
};

TEST_F(WriteHtmlPageTest, PageBesideTheOutputNamesItWithCrLfLines) {
  plan.outputPath = (outputDir / "my.talk.osq").string();
  PutBesideProgram("ostrel.jar", "jar");
  Write(true, false);

  const std::string page = ReadWholeFile(outputDir / "my.talk.htm");
  ASSERT_FALSE(page.empty());
  EXPECT_NE(page.find("<param name=\"VideoPath\" value=\"my.talk.osq\">\r\n"), std::string::npos);
  EXPECT_NE(page.find(" width=\"322\" height=\"267\" "), std::string::npos);
  EXPECT_NE(page.find("<p>Video: my.talk.osq&nbsp;&nbsp;Stream: ADSL1</p>\r\n"), std::string::npos);
  EXPECT_NE(page.find("ToolbarSkinPath"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"" + std::string(AppUtils().GetHomePageUrl().utf8_str()) +
                      "\" target=\"_blank\">www.harwelco.com</a></p></div>\r\n"),
            std::string::npos);
  for (size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    ASSERT_EQ(page[at - 1], '\r') << "a bare line feed at " << at;
  }
  EXPECT_TRUE(launcher.addresses.empty()) << "not opened without Show video";
}

TEST_F(WriteHtmlPageTest, EncodedNamesEscapedAndEncoded) {
  plan.profiles = {Profile("Modem", 240, 192), Profile("A&B <é>", 320, 240), Profile("MEGA", 160, 128)};
  // A name beyond the page's character set goes in as a character reference,
  // and markup in a file name cannot end the attribute.
  plan.outputPath = (outputDir / "clip € \"1\".osq").string();
  Write(false, false);

  const std::string page = ReadWholeFile(outputDir / "clip € \"1\".htm");
  EXPECT_NE(page.find("Stream: Modem, A&amp;B &lt;\xe9&gt;, MEGA</p>"), std::string::npos);
  EXPECT_NE(page.find("value=\"clip &#8364; &quot;1&quot;.osq\""), std::string::npos);
  EXPECT_NE(page.find(" height=\"258\" "), std::string::npos);
  EXPECT_EQ(page.find("Toolbar"), std::string::npos) << "no toolbar lines without the toolbar";
}

TEST_F(WriteHtmlPageTest, CopiesOverwriteAndTheImageOnlyWithTheToolbar) {
  PutBesideProgram("ostrel.jar", "new jar");
  PutBesideProgram("ostrel_tb1.jpg", "new image");
  WriteWholeFile(outputDir / "talk.htm", std::string(5000, 'o'));
  WriteWholeFile(outputDir / "ostrel.jar", "old jar, longer than the new one");

  Write(false, false);
  EXPECT_EQ(ReadWholeFile(outputDir / "ostrel.jar"), "new jar");
  EXPECT_FALSE(fs::exists(outputDir / "ostrel_tb1.jpg"));
  EXPECT_EQ(ReadWholeFile(outputDir / "talk.htm").rfind("</html>\r\n"),
            ReadWholeFile(outputDir / "talk.htm").size() - 9)
      << "the old page is truncated, not written over";

  WriteWholeFile(outputDir / "ostrel_tb1.jpg", "old image, longer");
  Write(true, false);
  EXPECT_EQ(ReadWholeFile(outputDir / "ostrel_tb1.jpg"), "new image");
}

TEST_F(WriteHtmlPageTest, MissingArchiveIsLoggedAndTheRestGoesOn) {
  CapturedLog log;
  Write(true, true);
  EXPECT_TRUE(fs::exists(outputDir / "talk.htm"));
  EXPECT_TRUE(log.HasErrorContaining("ostrel.jar"));
  EXPECT_TRUE(log.HasErrorContaining("ostrel_tb1.jpg"));
  EXPECT_FALSE(fs::exists(outputDir / "ostrel.jar")) << "no stand-in is made";
  ASSERT_EQ(launcher.addresses.size(), 1u);
  EXPECT_EQ(launcher.addresses[0], (outputDir / "talk.htm").string());
}

TEST_F(WriteHtmlPageTest, PageThatCannotBeCreatedIsLoggedAndTheRestStillRuns) {
  PutBesideProgram("ostrel.jar", "jar");
  const fs::path gone = program / "gone";
  plan.outputPath = (gone / "talk.osq").string();
  CapturedLog log;
  Write(false, true);
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_TRUE(log.HasErrorContaining((gone / "talk.htm").string()));
  EXPECT_TRUE(log.HasErrorContaining("ostrel.jar")) << "the copy was still tried";
  ASSERT_EQ(launcher.addresses.size(), 1u) << "the browser is still asked";
  EXPECT_EQ(launcher.addresses[0], (gone / "talk.htm").string());
}

// An output in the program's own folder: the archive is already where the
// page needs it; it stays whole and nothing is logged.
TEST_F(WriteHtmlPageTest, OutputInTheProgramsFolderKeepsTheArchive) {
  PutBesideProgram("ostrel.jar", "the applet");
  plan.outputPath = (program / "talk.osq").string();
  CapturedLog log;
  Write(false, false);
  EXPECT_EQ(ReadWholeFile(program / "ostrel.jar"), "the applet");
  EXPECT_TRUE(fs::exists(program / "talk.htm"));
  EXPECT_TRUE(log.errors.empty());
}

}  // namespace
