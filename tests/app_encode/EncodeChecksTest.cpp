// The checks before a run: each in its order with its own text, the
// overwrite questions (output and page), and the refusals that keep the
// source and an existing output safe: nothing is emptied or removed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "EncodeSession.h"
#include "EncodeTestFrame.h"
#include "EncodeTestSupport.h"
#include "ModalExpectations.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace fs = std::filesystem;

namespace {

class EncodeChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new EncodeTestFrame;
    frame->input->ChangeValue(TestMedia::Path("av.avi"));
    frame->output->ChangeValue(dir.File("out.osq"));
  }
  void TearDown() override { CloseFrame(frame); }

  bool Check() {
    frame->control.SetWindow(frame->Window());
    return frame->control.CheckParameters(frame->control.ReadEncodeFields());
  }
  void WriteOutput(const std::string& bytes, const char* name = "out.osq") { WriteWholeFile(dir.File(name), bytes); }
  std::string ReadOutput(const char* name = "out.osq") { return ReadWholeFile(dir.File(name)); }

  TempDir dir;
  EncodeTestFrame* frame = nullptr;
};

struct Case {
  const char* what;
  std::function<void(EncodeTestFrame&, TempDir&)> arrange;
  const char* message;  ///< null: every check passes, no dialog
  const char* caption = kEditionCaption;
  long icon = wxICON_ERROR;
};

void Field(wxTextCtrl* field, const wxString& value) { field->ChangeValue(value); }

}  // namespace

TEST_F(EncodeChecks, EachCheckInItsOrderWithItsText) {
  const std::vector<Case> cases = {
      {"input missing", [](auto& f, auto& d) { Field(f.input, d.File("none.avi")); }, "Input file not found"},
      {"input missing comes first",
       [](auto& f, auto& d) {
         Field(f.input, d.File("none.avi"));
         Field(f.output, "/no/such/dir/out.osq");
       },
       "Input file not found"},
      {"output folder missing", [](auto& f, auto&) { Field(f.output, "/no/such/dir/out.osq"); },
       "Output dir does not exist"},
      {"output without a folder", [](auto& f, auto&) { Field(f.output, "out.osq"); }, "Output dir does not exist"},
      {"extension differs in case", [](auto& f, auto& d) { Field(f.output, d.File("out.OSQ")); },
       "Invalid output file name: e.g. mymedia.osq"},
      {"no extension at all", [](auto& f, auto& d) { Field(f.output, d.File("out")); },
       "Invalid output file name: e.g. mymedia.osq"},
      {"illegal character", [](auto& f, auto& d) { Field(f.output, d.File("out(1).osq")); },
       "Output file name contains illegal characters", "Message", 0},
      {"crop top signed", [](auto& f, auto&) { Field(f.cropTop, "-5"); }, "Crop on top: only integer value", "Message",
       0},
      {"crop top before start",
       [](auto& f, auto&) {
         Field(f.startTime, "x");
         Field(f.cropTop, "1e3");
       },
       "Crop on top: only integer value", "Message", 0},
      {"crop right empty", [](auto& f, auto&) { Field(f.cropRight, ""); }, "Crop on right: only integer value",
       "Message", 0},
      {"crop bottom before left",
       [](auto& f, auto&) {
         Field(f.cropLeft, "5.0");
         Field(f.cropBottom, " 5");
       },
       "Crop on bottom: only integer value", "Message", 0},
      {"crop left decimal", [](auto& f, auto&) { Field(f.cropLeft, "5.0"); }, "Crop on left: only integer value",
       "Message", 0},
      {"start time", [](auto& f, auto&) { Field(f.startTime, "1e3"); }, "Start Time: only integer value", "Message", 0},
      {"end time", [](auto& f, auto&) { Field(f.endTime, "+1"); }, "End Time: only integer value", "Message", 0},
      {"start equals end",
       [](auto& f, auto&) {
         Field(f.startTime, "10");
         Field(f.endTime, "10");
       },
       "Start time or End time incorrect"},
      {"start after end",
       [](auto& f, auto&) {
         Field(f.startTime, "5");
         Field(f.endTime, "3");
       },
       "Start time or End time incorrect"},
      {"start 10, end of source", [](auto& f, auto&) { Field(f.startTime, "10"); }, nullptr},
      {"whole source", [](auto&, auto&) {}, nullptr},
      {"a range",
       [](auto& f, auto&) {
         Field(f.startTime, "3");
         Field(f.endTime, "5");
       },
       nullptr},
      {"accented letters and folders with blanks",
       [](auto& f, auto& d) {
         fs::create_directory(d.File("mes vidéos"));
         Field(f.output, wxString::FromUTF8(d.File("mes vidéos/clip_1.osq")));
       },
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    c.arrange(*frame, dir);
    bool passed = false;
    if (c.message) {
      const ExpectMessage refusal = ExpectMessage(c.message, wxID_OK).Caption(c.caption);
      wxTEST_DIALOG(passed = Check(), c.icon ? refusal.Icon(c.icon) : refusal);
      EXPECT_FALSE(passed);
    } else {
      wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("(no dialog)", wxID_OK).Optional());
      EXPECT_TRUE(passed);
    }
    EXPECT_FALSE(fs::exists(dir.File("out.osq")));
  }
}

// Agreeing to overwrite changes nothing yet: the older output stays byte for
// byte until a complete new container replaces it, so a later refusal
// costs the user nothing.
TEST_F(EncodeChecks, AnExistingOutputIsKeptWhateverTheAnswer) {
  WriteOutput("previous encode");
  bool passed = true;
  wxTEST_DIALOG(passed = Check(),
                ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_NO).Icon(wxICON_QUESTION));
  EXPECT_FALSE(passed);
  EXPECT_EQ(ReadOutput(), "previous encode");

  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES));
  EXPECT_TRUE(passed);
  EXPECT_EQ(ReadOutput(), "previous encode");

  frame->endTime->ChangeValue("x");
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                ExpectMessage("End Time: only integer value", wxID_OK).Caption("Message"));
  EXPECT_FALSE(passed);
  EXPECT_EQ(ReadOutput(), "previous encode");
  EXPECT_EQ(DirectoryEntries(dir.Path()), std::vector<std::string>{"out.osq"});
}

// The page beside the output is asked about too, before the run, with the
// output's words; only when a page is to be written.
TEST_F(EncodeChecks, AnExistingPageIsReplacedOnlyWhenTheUserAgrees) {
  WriteOutput("older page", "out.htm");
  frame->htmlPage->SetValue(true);
  const char* question = "HTML page out.htm already exists: overwrite it ?";
  bool passed = true;
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage(question, wxID_NO).Icon(wxICON_QUESTION));
  EXPECT_FALSE(passed);
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage(question, wxID_YES));
  EXPECT_TRUE(passed);
  EXPECT_EQ(ReadOutput("out.htm"), "older page");

  // Both exist: the output's question first, then the page's.
  WriteOutput("previous encode");
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                ExpectEditionMessage(question, wxID_YES));
  EXPECT_TRUE(passed);

  frame->htmlPage->SetValue(false);
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES));
  EXPECT_TRUE(passed) << "no page, no question about it";
  EXPECT_EQ(ReadOutput(), "previous encode");
  EXPECT_EQ(ReadOutput("out.htm"), "older page");
}

TEST_F(EncodeChecks, AnOutputThatCannotBeWrittenIsRefused) {
  // A folder under the output's name cannot be opened for writing.
  fs::create_directory(dir.File("out.osq"));
  bool passed = true;
  wxTEST_DIALOG(
      passed = Check(),
      ExpectEditionMessage("Unable to open output file. (permission, writeable, ...)", wxID_OK).Icon(wxICON_ERROR));
  EXPECT_FALSE(passed);
  fs::remove(dir.File("out.osq"));

  if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  WriteOutput("read only");
  chmod(dir.File("out.osq").c_str(), 0444);
  wxTEST_DIALOG(passed = Check(), ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                ExpectEditionMessage("Unable to open output file. (permission, writeable, ...)", wxID_OK));
  EXPECT_FALSE(passed);
  EXPECT_EQ(ReadOutput(), "read only");
}

TEST_F(EncodeChecks, AnOutputNamingTheSourceIsRefusedBeforeAnythingIsOpened) {
  // A source that carries the output extension, under several names.
  const std::string source = dir.File("clip.osq");
  fs::copy_file(TestMedia::Path("av.avi"), source);
  const auto size = fs::file_size(source);
  fs::create_symlink(source, dir.File("link.osq"));
  fs::create_hard_link(source, dir.File("hard.osq"));
  fs::create_directory(dir.File("sub"));
  const std::vector<std::string> outputs = {source, dir.Path() + "/./clip.osq", dir.Path() + "/sub/../clip.osq",
                                            dir.File("link.osq"), dir.File("hard.osq")};
  for (const std::string& output : outputs) {
    SCOPED_TRACE(output);
    frame->input->ChangeValue(source);
    frame->output->ChangeValue(output);
    bool passed = true;
    wxTEST_DIALOG(passed = Check(),
                  ExpectEditionMessage("The output file is the input file: choose another output file name", wxID_OK)
                      .Icon(wxICON_ERROR));
    EXPECT_FALSE(passed);
    EXPECT_EQ(fs::file_size(source), size);
  }
  // And the other way round: the source reached through the link.
  frame->input->ChangeValue(dir.File("link.osq"));
  frame->output->ChangeValue(source);
  bool passed = true;
  wxTEST_DIALOG(passed = Check(),
                ExpectEditionMessage("The output file is the input file: choose another output file name", wxID_OK));
  EXPECT_FALSE(passed);
  EXPECT_EQ(fs::file_size(source), size);
}

TEST_F(EncodeChecks, NoSelectedRowIsRefusedBeforeTheOutputIsTouched) {
  frame->SelectRows({});
  WriteOutput("previous encode");
  bool passed = true;
  wxTEST_DIALOG(passed = Check(),
                ExpectEditionMessage("No stream selected: tick Encode in at least one row of the streams", wxID_OK)
                    .Icon(wxICON_ERROR));
  EXPECT_FALSE(passed);
  EXPECT_EQ(ReadOutput(), "previous encode");
}

TEST_F(EncodeChecks, PrepareWaitsForThePreviousRunAndClearsTheDoneFlag) {
  frame->control.FinishEncoding();  // as a finished worker leaves it
  EXPECT_TRUE(frame->control.IsDone());
  frame->control.SetWindow(frame->Window());
  frame->input->ChangeValue(dir.File("none.avi"));
  bool passed = true;
  wxTEST_DIALOG(passed = frame->control.PrepareEncoding() != nullptr,
                ExpectEditionMessage("Input file not found", wxID_OK));
  EXPECT_FALSE(passed);
  EXPECT_FALSE(frame->control.IsDone());
}
