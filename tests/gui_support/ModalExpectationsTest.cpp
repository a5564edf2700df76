// The answers to modal dialogs that every window test relies on: a dialog
// nobody expected must fail the test with its text and end at once, and each
// check an expectation asks for must fail when the dialog differs, or the
// suites' assertions pass over what they claim to look at.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/dialog.h>

#include <string>
#include <vector>

#include "ModalExpectations.h"
#include "TempDir.h"

namespace {

struct Failures {
  std::vector<std::string> messages;
  std::vector<std::string> files;

  bool Mention(const std::string& part) const {
    for (const std::string& m : messages) {
      if (m.find(part) != std::string::npos) return true;
    }
    return false;
  }
  std::string All() const {
    std::string all;
    for (const std::string& m : messages) all += m + "\n";
    return all;
  }
};

// The failures the code reports, kept from the test that runs it.
template <class Code>
Failures FailuresOf(Code code) {
  ::testing::TestPartResultArray results;
  {
    ::testing::ScopedFakeTestPartResultReporter reporter(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    code();
  }
  Failures failures;
  for (int i = 0; i < results.size(); ++i) {
    failures.messages.push_back(results.GetTestPartResult(i).message());
    const char* file = results.GetTestPartResult(i).file_name();
    failures.files.push_back(file ? file : "");
  }
  return failures;
}

const char kText[] = "Delete every clip of the list ?";
const char kCaption[] = "Ostrel";

}  // namespace

TEST(UnexpectedDialog, AMessageBoxFailsTheTestWithItsTextAndGetsTheAnswerOfARefusal) {
  struct Case {
    long style;
    int answer;
  } cases[] = {
      {wxOK | wxICON_INFORMATION, wxOK},
      {wxYES_NO | wxICON_QUESTION, wxNO},
      {wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, wxNO},
      {wxYES_NO | wxCANCEL, wxCANCEL},
      {wxOK | wxCANCEL, wxCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    int answer = 0;
    const Failures guarded = FailuresOf([&] { EXPECT_NO_DIALOG(answer = wxMessageBox(kText, kCaption, c.style)); });
    ASSERT_EQ(guarded.messages.size(), 1u) << guarded.All();
    EXPECT_TRUE(guarded.Mention(kText)) << guarded.All();
    EXPECT_TRUE(guarded.Mention(kCaption)) << guarded.All();
    // At the test's line, not in the support files.
    EXPECT_NE(guarded.files[0].find("ModalExpectationsTest.cpp"), std::string::npos) << guarded.files[0];
    EXPECT_EQ(answer, c.answer);

    // Another box where an expected one stands: both are named, and the box
    // is refused instead of getting the answer meant for the other.
    const Failures mistaken = FailuresOf([&] {
      wxTEST_DIALOG(answer = wxMessageBox(kText, kCaption, c.style), ExpectMessage("Start encoding ?", wxID_YES));
    });
    ASSERT_EQ(mistaken.messages.size(), 1u) << mistaken.All();
    EXPECT_TRUE(mistaken.Mention(kText)) << mistaken.All();
    EXPECT_TRUE(mistaken.Mention("Start encoding ?")) << mistaken.All();
    EXPECT_EQ(answer, c.answer);

    // Outside any expectation, the safety net under every test does the same.
    const Failures loose = FailuresOf([&] { answer = wxMessageBox(kText, kCaption, c.style); });
    ASSERT_EQ(loose.messages.size(), 1u) << loose.All();
    EXPECT_TRUE(loose.Mention(kText)) << loose.All();
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(UnexpectedDialog, AnyOtherDialogFailsTheTestWithItsTitleAndIsCancelled) {
  wxDialog dialog(nullptr, wxID_ANY, "Encoding options");
  int code = 0;
  const Failures failures = FailuresOf([&] { EXPECT_NO_DIALOG(code = dialog.ShowModal()); });
  ASSERT_EQ(failures.messages.size(), 1u) << failures.All();
  EXPECT_TRUE(failures.Mention("Encoding options")) << failures.All();
  EXPECT_EQ(code, wxID_CANCEL);

  const Failures chooser = FailuresOf([&] {
    wxFileDialog files(nullptr, "Set your output file name", "", "", "osq files (.osq)|*.osq", wxFD_SAVE);
    code = files.ShowModal();
  });
  ASSERT_EQ(chooser.messages.size(), 1u) << chooser.All();
  EXPECT_TRUE(chooser.Mention("Set your output file name")) << chooser.All();
  EXPECT_EQ(code, wxID_CANCEL);
}

TEST(UnexpectedDialog, AnExpectedDialogThatNeverCameFailsTheTest) {
  const Failures failures = FailuresOf([] { wxTEST_DIALOG({}, ExpectMessage(kText, wxID_NO)); });
  ASSERT_EQ(failures.messages.size(), 1u) << failures.All();
  EXPECT_TRUE(failures.Mention(kText)) << failures.All();
  EXPECT_TRUE(FailuresOf([] { wxTEST_DIALOG({}, ExpectMessage(kText, wxID_NO).Optional()); }).messages.empty());
}

TEST(ExpectMessage, EachCheckFailsOnlyWhenTheBoxDiffers) {
  const long question = wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION;
  struct Case {
    const char* what;
    ExpectMessage expectation;
    long style;
    const char* failure;  // a part of the failure; null: none
    int answer;
  } cases[] = {
      {"the text", ExpectMessage(kText, wxID_NO), question, nullptr, wxNO},
      {"another text", ExpectMessage("Delete the clip ?", wxID_NO), question, "Delete the clip ?", wxNO},
      {"the start", ExpectMessage("Delete every", wxID_NO).Prefix(), question, nullptr, wxNO},
      {"another start", ExpectMessage("Delete one", wxID_NO).Prefix(), question, "Delete one", wxNO},
      {"the whole text where a start is enough", ExpectMessage("Delete every", wxID_NO), question, "Delete every",
       wxNO},
      {"the caption", ExpectMessage(kText, wxID_NO).Caption(kCaption), question, nullptr, wxNO},
      {"another caption", ExpectMessage(kText, wxID_NO).Caption("Message"), question, "the caption", wxNO},
      {"the style", ExpectMessage(kText, wxID_NO).Style(question), question, nullptr, wxNO},
      {"another style", ExpectMessage(kText, wxID_NO).Style(wxYES_NO | wxICON_QUESTION), question, "the style", wxNO},
      {"the icon", ExpectMessage(kText, wxID_OK).Icon(wxICON_ERROR), wxOK | wxICON_ERROR, nullptr, wxOK},
      {"another icon", ExpectMessage(kText, wxID_OK).Icon(wxICON_ERROR), wxOK | wxICON_WARNING, "the icon", wxOK},
      {"No preselected", ExpectMessage(kText, wxID_YES).NoDefault(), question, nullptr, wxYES},
      {"Yes preselected", ExpectMessage(kText, wxID_YES).NoDefault(), wxYES_NO | wxICON_QUESTION, "preselected", wxYES},
      {"another text refused", ExpectMessage("Delete the clip ?", wxID_YES), question, "Delete the clip ?", wxNO},
      {"Yes to a notice", ExpectMessage(kText, wxID_YES), wxOK, "no such buttons", wxOK},
      {"OK to a question", ExpectMessage(kText, wxOK), question, "asks Yes or No", wxNO},
      {"the question", ExpectQuestion(kText, kCaption, wxID_YES), question, nullptr, wxYES},
      {"a question with another icon", ExpectQuestion(kText, kCaption, wxID_YES), wxYES_NO | wxICON_WARNING, "the icon",
       wxYES},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int answer = 0;
    const Failures failures =
        FailuresOf([&] { wxTEST_DIALOG(answer = wxMessageBox(kText, kCaption, c.style), c.expectation); });
    if (c.failure) {
      EXPECT_TRUE(failures.Mention(c.failure)) << failures.All();
    } else {
      EXPECT_TRUE(failures.messages.empty()) << failures.All();
    }
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(ExpectMessage, KeepsTheWholeTextAndRunsItsCheckBeforeTheAnswer) {
  wxString said;
  bool shownFirst = false;
  int answer = 0;
  wxTEST_DIALOG(answer = wxMessageBox(kText, kCaption, wxYES_NO),
                ExpectMessage("Delete", wxYES).Prefix().SaveText(&said).OnShown([&] { shownFirst = answer == 0; }));
  EXPECT_EQ(said, kText);
  EXPECT_TRUE(shownFirst);
  EXPECT_EQ(answer, wxYES);
}

TEST(ExpectFile, ChecksThePurposeAndGivesThePathAsChosen) {
  TempDir dir;
  const wxString path = dir.File("lists.xml");
  const char title[] = "Save XML file as...";
  const char wildcard[] = "XML files|*.xml|All files|*.*";
  struct Case {
    const char* what;
    ExpectFile expectation;
    const char* failure;
  } cases[] = {
      {"as shown", ExpectFile(title, wildcard, FileChoice::kSaveAskingToOverwrite, path).Directory(dir.Path()),
       nullptr},
      {"without the overwrite question", ExpectFile(title, wildcard, FileChoice::kSave, path), title},
      {"for opening", ExpectFile(title, wildcard, FileChoice::kOpen, path), title},
      {"another wildcard", ExpectFile(title, "TXT files|*.txt", FileChoice::kSaveAskingToOverwrite, path), "TXT files"},
      {"another folder", ExpectFile(title, wildcard, FileChoice::kSaveAskingToOverwrite, path).Directory("/nowhere"),
       "/nowhere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    wxFileDialog chooser(nullptr, title, dir.Path(), "", wildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    int code = 0;
    const Failures failures = FailuresOf([&] { wxTEST_DIALOG(code = chooser.ShowModal(), c.expectation); });
    if (c.failure) {
      EXPECT_TRUE(failures.Mention(c.failure)) << failures.All();
    } else {
      EXPECT_TRUE(failures.messages.empty()) << failures.All();
    }
    EXPECT_EQ(code, wxID_OK);
    EXPECT_EQ(chooser.GetPath(), path);
  }

  wxFileDialog chooser(nullptr, title, dir.Path(), "", wildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  int code = 0;
  wxTEST_DIALOG(code = chooser.ShowModal(),
                ExpectFile(title, wildcard, FileChoice::kSaveAskingToOverwrite, "", wxID_CANCEL));
  EXPECT_EQ(code, wxID_CANCEL);
}

TEST(ExpectFolder, ChecksTheMessageAndAnswersWithTheButton) {
  wxDirDialog chooser(nullptr, "Select Directory for temporary files");
  int code = 0;
  wxTEST_DIALOG(code = chooser.ShowModal(), ExpectFolder("Select Directory for temporary files", wxCANCEL));
  EXPECT_EQ(code, wxID_CANCEL);
  const Failures failures =
      FailuresOf([&] { wxTEST_DIALOG(code = chooser.ShowModal(), ExpectFolder("Select the output folder", wxID_OK)); });
  EXPECT_TRUE(failures.Mention("Select the output folder")) << failures.All();
  EXPECT_EQ(code, wxID_OK);
}
