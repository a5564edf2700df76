// The encode control's page writer with the plan of a finished run: where the
// page goes, what it names, the player's files copied beside it, the
// browser, and what goes wrong told in the window's boxes: a page that cannot
// be written on its own, the player's files missing beside the program as one
// warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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
  PutBesideProgram("ostrel_tb1.jpg", "image");
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
  PutBesideProgram("ostrel.jar", "jar");
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

// The player's files are the user's to put beside the program: missing,
// they are told once, as a warning saying what and where; the page is
// written and opened all the same, and no stand-in is made.
TEST_F(WriteHtmlPageTest, ThePlayersFilesMissingBesideTheProgramAreToldOnceAsAWarning) {
  struct Case {
    const char* what;
    bool toolbar;
    const char* besideProgram;  ///< the one file put there, or null
    std::string said;
  };
  const std::string where = " beside the program, in " + programDir + ", to have ";
  const std::vector<Case> cases = {
      {"both missing", true, nullptr,
       "The HTML page talk.htm was written without the applet player (ostrel.jar) and the toolbar image "
       "(ostrel_tb1.jpg); put ostrel.jar and ostrel_tb1.jpg" +
           where + "them copied next to every page."},
      {"the archive missing, no toolbar", false, nullptr,
       "The HTML page talk.htm was written without the applet player (ostrel.jar); put ostrel.jar" + where +
           "it copied next to every page."},
      {"the image missing", true, "ostrel.jar",
       "The HTML page talk.htm was written without the toolbar image (ostrel_tb1.jpg); put ostrel_tb1.jpg" + where +
           "it copied next to every page."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(program / "ostrel.jar");
    fs::remove(outputDir / "ostrel.jar");
    if (c.besideProgram) PutBesideProgram(c.besideProgram, "file");
    launcher.addresses.clear();
    CapturedLog log;
    wxTEST_DIALOG(Write(c.toolbar, true), ExpectMessage(wxString::FromUTF8(c.said), wxID_OK)
                                              .Caption("Ostrel Standard Edition v.3 ")
                                              .Icon(wxICON_WARNING));
    EXPECT_TRUE(fs::exists(outputDir / "talk.htm"));
    EXPECT_FALSE(fs::exists(outputDir / "ostrel_tb1.jpg")) << "no stand-in is made";
    EXPECT_EQ(fs::exists(outputDir / "ostrel.jar"), c.besideProgram != nullptr);
    EXPECT_TRUE(log.errors.empty()) << log.errors.front();
    ASSERT_EQ(launcher.addresses.size(), 1u) << "the page is opened all the same";
    EXPECT_EQ(launcher.addresses[0], (outputDir / "talk.htm").string());
  }
}

// A copy that fails for another reason says which, with the system's reason;
// the other steps still run.
TEST_F(WriteHtmlPageTest, ACopyThatFailsIsToldWithItsReason) {
  PutBesideProgram("ostrel.jar", "jar");
  PutBesideProgram("ostrel_tb1.jpg", "image");
  fs::create_directory(outputDir / "ostrel.jar");
  wxString said;
  wxTEST_DIALOG(Write(true, true),
                ExpectMessage("Could not copy \"", wxID_OK).Icon(wxICON_ERROR).Prefix().SaveText(&said));
  EXPECT_NE(said.Find(wxString::FromUTF8((outputDir / "ostrel.jar").string() + "\": ")), wxNOT_FOUND) << said;
  EXPECT_EQ(ReadWholeFile(outputDir / "ostrel_tb1.jpg"), "image");
  EXPECT_EQ(launcher.addresses.size(), 1u);
}

// Rare once the gate has found the page writable (a disk that filled up
// during the run): told first and on its own; without a page there is
// nothing to copy files for or to open.
TEST_F(WriteHtmlPageTest, APageThatCannotBeWrittenIsToldOnItsOwn) {
  const fs::path gone = program / "gone";
  plan.outputPath = (gone / "talk.osq").string();
  CapturedLog log;
  wxTEST_DIALOG(Write(true, true),
                ExpectMessage(wxString::FromUTF8("The HTML page " + (gone / "talk.htm").string() +
                                                 " could not be written: No such file or directory."),
                              wxID_OK)
                    .Caption("Ostrel Standard Edition v.3 ")
                    .Icon(wxICON_ERROR));
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_TRUE(log.errors.empty());
  EXPECT_TRUE(launcher.addresses.empty()) << "a missing page is not opened";
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
