// The encode control's page writer with the window's fields: where the page
// goes, what it names, the copies beside it, the browser, and every failure
// logged while the other steps still run.
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ProgramDirectory.h"
#include "PublishTestSupport.h"
#include "StreamProfileRows.h"
#include "abstractMainFrame.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The encode control with the parts of the window that the page reads, as a
// finished run leaves them.
class PageControl : public abstractMainFrame {
 public:
  void Use(wxTextCtrl* output, wxGrid* grid, int widest, int tallest) {
    outputField = output;
    streamsGrid = grid;
    widestOutput = widest;
    tallestOutput = tallest;
  }
};

class WriteHtmlPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() /
           ("ostrel-page-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    programDir = root / "program";
    outputDir = root / "clips";
    fs::create_directories(programDir);
    fs::create_directories(outputDir);
    OverrideProgramDirectory(programDir.string());

    frame = new wxFrame(nullptr, wxID_ANY, "page");
    output = new wxTextCtrl(frame, wxID_ANY);
    grid = new wxGrid(frame, wxID_ANY);
    grid->CreateGrid(kStreamRowCount, kStreamColumnCount);
    const StreamProfileRows rows = FactoryStreamProfileRows();  // ADSL1 selected
    for (int r = 0; r < kStreamRowCount; ++r)
      for (int c = 0; c < kStreamColumnCount; ++c)
        grid->SetCellValue(r, c, wxString::FromUTF8(rows[r][c]));
    output->ChangeValue((outputDir / "talk.osq").string());
    control.Use(output, grid, 320, 240);
  }

  void TearDown() override {
    OverrideProgramDirectory(wxString());
    frame->Destroy();
    fs::remove_all(root);
  }

  void PutBesideProgram(const std::string& name, const std::string& bytes) {
    WriteBytes(programDir / name, bytes);
  }

  fs::path root, programDir, outputDir;
  wxFrame* frame = nullptr;
  wxTextCtrl* output = nullptr;
  wxGrid* grid = nullptr;
  PageControl control;
  RecordingLauncher launcher;
};

TEST_F(WriteHtmlPageTest, PageBesideTheOutputNamesItWithCrLfLines) {
  output->ChangeValue((outputDir / "my.talk.osq").string());
  PutBesideProgram("ostrel.jar", "jar");
  control.WriteHtmlPage(true, false);

  const std::string page = ReadBytes(outputDir / "my.talk.htm");
  ASSERT_FALSE(page.empty());
  EXPECT_NE(page.find("<param name=\"VideoPath\" value=\"my.talk.osq\">\r\n"), std::string::npos);
  EXPECT_NE(page.find(" width=\"322\" height=\"267\" "), std::string::npos);
  EXPECT_NE(page.find("<p>Video: my.talk.osq&nbsp;&nbsp;Stream: ADSL1</p>\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("ToolbarSkinPath"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"" + std::string(AppUtils().GetHomePageUrl().utf8_str()) +
                      "\" target=\"_blank\">www.harwelco.com</a></p></div>\r\n"),
            std::string::npos);
  for (size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    ASSERT_EQ(page[at - 1], '\r') << "a bare line feed at " << at;
  }
  EXPECT_TRUE(launcher.opened.empty()) << "not opened without Show video";
}

TEST_F(WriteHtmlPageTest, SelectedRowsOnlyAndNamesWrittenUnchanged) {
  grid->SetCellValue(0, kColumnEncode, "1");
  grid->SetCellValue(2, kColumnName, wxString::FromUTF8("A&B <é>"));
  grid->SetCellValue(4, kColumnEncode, "1");
  // A name beyond the page's character set goes in as a character reference.
  output->ChangeValue(wxString::FromUTF8((outputDir / "clip €.osq").string()));
  control.WriteHtmlPage(false, false);

  const std::string page = ReadBytes(outputDir / "clip €.htm");
  EXPECT_NE(page.find("Stream: Modem, A&B <\xe9>, MEGA</p>"), std::string::npos);
  EXPECT_NE(page.find("value=\"clip &#8364;.osq\""), std::string::npos);
  EXPECT_NE(page.find(" height=\"258\" "), std::string::npos);
  EXPECT_EQ(page.find("Toolbar"), std::string::npos) << "no toolbar lines without the toolbar";
}

TEST_F(WriteHtmlPageTest, CopiesOverwriteAndTheImageOnlyWithTheToolbar) {
  PutBesideProgram("ostrel.jar", "new jar");
  PutBesideProgram("ostrel_tb1.jpg", "new image");
  WriteBytes(outputDir / "talk.htm", std::string(5000, 'o'));
  WriteBytes(outputDir / "ostrel.jar", "old jar, longer than the new one");

  control.WriteHtmlPage(false, false);
  EXPECT_EQ(ReadBytes(outputDir / "ostrel.jar"), "new jar");
  EXPECT_FALSE(fs::exists(outputDir / "ostrel_tb1.jpg"));
  EXPECT_EQ(ReadBytes(outputDir / "talk.htm").rfind("</html>\r\n"),
            ReadBytes(outputDir / "talk.htm").size() - 9)
      << "the old page is truncated, not written over";

  WriteBytes(outputDir / "ostrel_tb1.jpg", "old image, longer");
  control.WriteHtmlPage(true, false);
  EXPECT_EQ(ReadBytes(outputDir / "ostrel_tb1.jpg"), "new image");
}

TEST_F(WriteHtmlPageTest, MissingArchiveIsLoggedAndTheRestGoesOn) {
  CapturedLog log;
  control.WriteHtmlPage(true, true);
  EXPECT_TRUE(fs::exists(outputDir / "talk.htm"));
  EXPECT_TRUE(log.HasErrorContaining("ostrel.jar"));
  EXPECT_TRUE(log.HasErrorContaining("ostrel_tb1.jpg"));
  EXPECT_FALSE(fs::exists(outputDir / "ostrel.jar")) << "no stand-in is made";
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(launcher.opened[0], (outputDir / "talk.htm").string());
}

TEST_F(WriteHtmlPageTest, PageThatCannotBeCreatedIsLoggedAndTheRestStillRuns) {
  PutBesideProgram("ostrel.jar", "jar");
  const fs::path gone = root / "gone";
  output->ChangeValue((gone / "talk.osq").string());
  CapturedLog log;
  control.WriteHtmlPage(false, true);
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_TRUE(log.HasErrorContaining((gone / "talk.htm").string()));
  EXPECT_TRUE(log.HasErrorContaining("ostrel.jar")) << "the copy was still tried";
  ASSERT_EQ(launcher.opened.size(), 1u) << "the browser is still asked";
  EXPECT_EQ(launcher.opened[0], (gone / "talk.htm").string());
}

// An output in the program's own folder: the archive is already where the
// page needs it; it stays whole and nothing is logged.
TEST_F(WriteHtmlPageTest, OutputInTheProgramsFolderKeepsTheArchive) {
  PutBesideProgram("ostrel.jar", "the applet");
  output->ChangeValue((programDir / "talk.osq").string());
  CapturedLog log;
  control.WriteHtmlPage(false, false);
  EXPECT_EQ(ReadBytes(programDir / "ostrel.jar"), "the applet");
  EXPECT_TRUE(fs::exists(programDir / "talk.htm"));
  EXPECT_TRUE(log.errors.empty());
}

}  // namespace
