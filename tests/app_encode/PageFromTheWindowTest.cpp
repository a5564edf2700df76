// The HTML page from the main window, with real files: a page that would
// replace the source is refused before any question, and a page that cannot
// be written (a folder, a pipe, a device, a read-only file) is refused before
// the run; in both cases nothing is written and the window stays idle.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "EncodeTestSupport.h"
#include "MainWindowEncode.h"
#include "ModalExpectations.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace fs = std::filesystem;

namespace {

// Each case writes into a folder of its own, "Generate HTML page" ticked.
class PageFromTheWindow : public MainWindowEncode {
 protected:
  void SetUp() override {
    MainWindowEncode::SetUp();
    frame->htmlPageCheck->SetValue(true);
  }
  void OutputInto(const TempDir& dir) { frame->outputPathText->ChangeValue(wxString::FromUTF8(dir.File("talk.osq"))); }
  void ExpectIdleAndNothingWritten(const TempDir& dir, const std::vector<std::string>& entries) {
    EXPECT_FALSE(frame->runningCheck->IsChecked());
    EXPECT_EQ(frame->encodeControl.GetSession(), nullptr);
    EXPECT_EQ(dir.Entries(), entries);
    EXPECT_TRUE(temp.Entries().empty());
  }
};

}  // namespace

TEST_F(PageFromTheWindow, APageThatWouldReplaceTheSourceIsRefusedBeforeAnyQuestion) {
  const std::string media = ReadWholeFile(TestMedia::Path("av.mp4"));
  ASSERT_FALSE(media.empty());
  struct Case {
    const char* what;
    std::function<std::string(TempDir&)> source;  ///< makes the source, returns the path typed
  };
  const std::vector<Case> cases = {
      {"the source is named like the page",
       [&](TempDir& d) {
         WriteWholeFile(d.File("talk.htm"), media);
         return d.File("talk.htm");
       }},
      {"the page a hard link to the source",
       [&](TempDir& d) {
         WriteWholeFile(d.File("clip.mp4"), media);
         fs::create_hard_link(d.File("clip.mp4"), d.File("talk.htm"));
         return d.File("clip.mp4");
       }},
      {"the page a symbolic link to the source",
       [&](TempDir& d) {
         WriteWholeFile(d.File("clip.mp4"), media);
         fs::create_symlink(d.File("clip.mp4"), d.File("talk.htm"));
         return d.File("clip.mp4");
       }},
  };
  std::string source;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    source = c.source(dir);
    // An older output too: its question would come first, were it asked.
    WriteWholeFile(dir.File("talk.osq"), "older output");
    OutputInto(dir);
    TypeInput(source);
    ASSERT_TRUE(frame->encodeButton->IsEnabled()) << "the source probes as media";
    const std::vector<std::string> before = dir.Entries();
    wxTEST_DIALOG(
        ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
        ExpectEditionMessage("The HTML page talk.htm is the input file: choose another output file name", wxID_OK)
            .Icon(wxICON_ERROR));
    EXPECT_EQ(ReadWholeFile(source), media);
    EXPECT_EQ(ReadWholeFile(dir.File("talk.osq")), "older output");
    ExpectIdleAndNothingWritten(dir, before);
  }

  // Without the page a source named like it encodes, and stays as it was.
  TempDir dir;
  WriteWholeFile(dir.File("talk.htm"), media);
  OutputInto(dir);
  TypeInput(dir.File("talk.htm"));
  frame->htmlPageCheck->SetValue(false);
  wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Finished Encoding    \n\nTotal Time:     ", wxID_OK).Prefix());
  EXPECT_EQ(ReadWholeFile(dir.File("talk.htm")), media);
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"talk.htm", "talk.osq"}));
}

TEST_F(PageFromTheWindow, APageThatCannotBeWrittenIsRefusedBeforeTheRun) {
  const std::string source = TestMedia::Path("av.mp4");
  struct Case {
    const char* what;
    std::function<void(TempDir&)> arrange;
    const char* why;
    bool asked = false;  ///< an existing file: the page's question comes first
  };
  std::vector<Case> cases = {
      {"a folder", [](TempDir& d) { fs::create_directory(d.File("talk.htm")); }, "it is a folder"},
      {"a named pipe", [](TempDir& d) { mkfifo(d.File("talk.htm").c_str(), 0644); }, "it is a named pipe (FIFO)"},
      {"a device, through a link", [](TempDir& d) { fs::create_symlink("/dev/null", d.File("talk.htm")); },
       "it is a character device"},
      {"a read-only file",
       [](TempDir& d) {
         WriteWholeFile(d.File("talk.htm"), "older page");
         chmod(d.File("talk.htm").c_str(), 0444);
       },
       "it is read-only", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    TypeInput(source);
    WriteWholeFile(dir.File("talk.osq"), "older output");
    c.arrange(dir);
    OutputInto(dir);
    const std::vector<std::string> before = dir.Entries();
    const std::string refusal = std::string("The HTML page talk.htm cannot be written: ") + c.why + ".";
    if (c.asked) {
      wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                    ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                    ExpectEditionMessage("HTML page talk.htm already exists: overwrite it ?", wxID_YES),
                    ExpectEditionMessage(refusal, wxID_OK).Icon(wxICON_ERROR));
      EXPECT_EQ(ReadWholeFile(dir.File("talk.htm")), "older page");
    } else {
      wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                    ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                    ExpectEditionMessage(refusal, wxID_OK).Icon(wxICON_ERROR));
    }
    EXPECT_EQ(ReadWholeFile(dir.File("talk.osq")), "older output");
    ExpectIdleAndNothingWritten(dir, before);
    chmod(dir.File("talk.htm").c_str(), 0644);
  }
}
