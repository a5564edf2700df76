// End to end from the main window itself: a generated source's path typed
// into the input field, encoded with the factory rows (ADSL1) and with all
// five profiles through the Encode button; the container taken apart by the
// tests' reader and every profile decoded by FFmpeg. A cancel half-way
// leaves neither the output nor a temporary file; a cancel question left open
// holds the finished container back.
#include <gtest/gtest.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/gauge.h>

#include "EncodeTestFrame.h"
#include "MainWindowEncode.h"
#include "EncodeSession.h"
#include "EncodeTestSupport.h"
#include "GuiTestSupport.h"
#include "ProgramDirectory.h"
#include "mainFrame.h"
#include "ModalExpectations.h"
#include "ProfileDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "PollUntil.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace {

void ExpectEveryProfileDecodes(const std::string& path, const std::vector<std::string>& names, double seconds = 2.0) {
  const OrvexaContainer container = ReadOrvexaContainerFile(path);
  ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
  EXPECT_EQ(container.HeaderProperty("vendor"), "Harwelco");
  const auto profiles = container.AudioVideoContents();
  ASSERT_EQ(profiles.size(), names.size());
  for (size_t i = 0; i < profiles.size(); ++i) {
    const OrvexaContent* content = profiles[i];
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(content->Property("content-name"), names[i]);
    EXPECT_TRUE(container.SeekIndexFor(content->id) != nullptr);
    const DecodedProfile decoded = ExpectProfileDecodes(*content);
    ASSERT_TRUE(decoded.Complete());
    EXPECT_GT(decoded.video->frames, 0);
    EXPECT_NEAR(decoded.audio->durationSeconds, seconds, 0.15);
  }
}

}  // namespace

TEST_F(MainWindowEncode, TypedSourceEncodesWithTheFactoryRowsAndWithAllFive) {
  struct Case {
    const char* what;
    std::vector<int> rows;  // empty: the rows as the window starts
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"factory rows: ADSL1", {}, {"ADSL1"}},
      {"all five", {0, 1, 2, 3, 4}, {"Modem", "ISDN", "ADSL1", "ADSL2", "MEGA"}},
  };
  TypeInput(TestMedia::Path("av.mp4"));
  EXPECT_EQ(frame->widthText->GetValue(), "160");
  EXPECT_TRUE(frame->encodeButton->IsEnabled());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.rows.empty()) SelectRows(c.rows);
    const std::string output = out.File(std::string("movie") + std::to_string(c.names.size()) + ".osq");
    frame->outputPathText->ChangeValue(wxString::FromUTF8(output));
    wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                  ExpectEditionMessage("Finished Encoding    \n\nTotal Time:     ", wxID_OK).Prefix());
    EXPECT_FALSE(frame->runningCheck->IsChecked());
    EXPECT_EQ(frame->encodeButton->GetLabel(), "Encode");
    ExpectEveryProfileDecodes(output, c.names);
    EXPECT_TRUE(temp.Entries().empty());
  }
  EXPECT_EQ(out.Entries(), (std::vector<std::string>{"movie1.osq", "movie5.osq"}));
}

TEST_F(MainWindowEncode, CancelHalfWayLeavesNeitherOutputNorTemporaryFile) {
  TypeInput(LongSource(30));
  SelectRows({0, 1, 2, 3, 4});
  frame->outputPathText->ChangeValue(wxString::FromUTF8(out.File("movie.osq")));
  int percentAtCancel = -1;
  WhileRunning cancel([&] {
    if (!frame->runningCheck->IsChecked() || frame->progressGauge->GetValue() < 3) return false;
    percentAtCancel = frame->progressGauge->GetValue();
    ClickEncode();
    return true;
  });
  wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Cancel encoding ?", wxID_YES),
                ExpectEditionMessage("Encoding Canceled", wxID_OK));
  EXPECT_GE(percentAtCancel, 3);
  EXPECT_LT(percentAtCancel, 100);
  EXPECT_FALSE(frame->runningCheck->IsChecked());
  EXPECT_TRUE(out.Entries().empty());
  EXPECT_TRUE(temp.Entries().empty());
}

// "Cancel encoding ?" left open while the run finishes encoding: the complete
// container waits, and the older output and page stay byte for byte until
// the answer. Yes then cancels the run; No lets the container go in place
// and the run ends as usual, with its page.
TEST_F(MainWindowEncode, ACancelQuestionOpenPastTheEndOfTheRunHoldsTheContainerBack) {
  const std::string source = LongSource(6);
  const std::string sourceBytes = ReadWholeFile(source);
  for (int answer : {wxID_YES, wxID_NO}) {
    SCOPED_TRACE(answer == wxID_YES ? "Yes" : "No");
    TearDown();
    SetUp();
    TypeInput(source);
    frame->htmlPageCheck->SetValue(true);
    frame->outputPathText->ChangeValue(wxString::FromUTF8(out.File("movie.osq")));
    ASSERT_TRUE(WriteWholeFile(out.File("movie.osq"), "older output"));
    ASSERT_TRUE(WriteWholeFile(out.File("movie.htm"), "older page"));
    WhileRunning cancel([&] {
      if (!frame->runningCheck->IsChecked()) return false;
      ClickEncode();
      return true;
    });
    bool held = false;
    std::string outputWhileHeld, pageWhileHeld;
    std::vector<std::string> entriesWhileHeld;
    const ExpectMessage question = ExpectEditionMessage("Cancel encoding ?", answer).OnShown([&] {
      // The person takes their time: the question stays open until the run
      // has finished encoding.
      EncodeSession* session = frame->encodeControl.GetSession();
      held = session && PollUntil([&] { return session->IsContainerWaiting(); }, 120.0);
      outputWhileHeld = ReadWholeFile(out.File("movie.osq"));
      pageWhileHeld = ReadWholeFile(out.File("movie.htm"));
      entriesWhileHeld = out.Entries();
    });
    const std::vector<std::string> olderFiles = {"movie.htm", "movie.osq"};
    if (answer == wxID_YES) {
      wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                    ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                    ExpectEditionMessage("HTML page movie.htm already exists: overwrite it ?", wxID_YES), question,
                    ExpectEditionMessage("Encoding Canceled", wxID_OK));
    } else {
      wxTEST_DIALOG(ClickEncode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                    ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                    ExpectEditionMessage("HTML page movie.htm already exists: overwrite it ?", wxID_YES), question,
                    ExpectEditionMessage("Finished Encoding    \n\nTotal Time:     ", wxID_OK).Prefix(),
                    ExpectEditionMessage("The HTML page movie.htm was written without", wxID_OK).Prefix());
    }
    EXPECT_TRUE(cancel.Finished());
    EXPECT_TRUE(held) << "the run never finished encoding under the question";
    EXPECT_EQ(outputWhileHeld, "older output");
    EXPECT_EQ(pageWhileHeld, "older page");
    EXPECT_EQ(entriesWhileHeld, olderFiles);
    EXPECT_FALSE(frame->runningCheck->IsChecked());
    EXPECT_EQ(frame->encodeControl.GetSession(), nullptr);
    EXPECT_TRUE(temp.Entries().empty());
    EXPECT_EQ(ReadWholeFile(source), sourceBytes);
    if (answer == wxID_YES) {
      EXPECT_EQ(out.Entries(), olderFiles);
      EXPECT_EQ(ReadWholeFile(out.File("movie.osq")), "older output");
      EXPECT_EQ(ReadWholeFile(out.File("movie.htm")), "older page");
    } else {
      ExpectEveryProfileDecodes(out.File("movie.osq"), {"ADSL1"}, 6.0);
      EXPECT_NE(ReadWholeFile(out.File("movie.htm")).find("Stream: ADSL1"), std::string::npos);
    }
  }
}

// The window keeps handling its events while it encodes: never more than
// 500 ms between two idle events, from the "Start encoding ?" answer to the
// "Finished Encoding" message (bench/window_speed.sh measures it on 60 s).
TEST_F(MainWindowEncode, TheWindowHandlesItsEventsThroughoutTheRun) {
  using Clock = std::chrono::steady_clock;
  TypeInput(LongSource(10));
  SelectRows({0, 1, 2, 3, 4});
  frame->outputPathText->ChangeValue(wxString::FromUTF8(out.File("movie.osq")));
  std::vector<Clock::time_point> marks;
  frame->Bind(wxEVT_IDLE, [&](wxIdleEvent& event) {
    if (frame->runningCheck->IsChecked()) marks.push_back(Clock::now());
    event.Skip();
  });
  // A request to close the window while it encodes is refused; the run goes on.
  bool closeRefused = false;
  WhileRunning close([&] {
    if (!frame->runningCheck->IsChecked()) return false;
    closeRefused = !frame->Close() && !frame->IsBeingDeleted();
    return true;
  });
  wxTEST_DIALOG(ClickEncode(),
                ExpectEditionMessage("Start encoding ?", wxID_YES).OnShown([&] { marks.push_back(Clock::now()); }),
                ExpectEditionMessage("Finished Encoding    \n\nTotal Time:     ", wxID_OK)
                    .OnShown([&] { marks.push_back(Clock::now()); })
                    .Prefix());
  ASSERT_GT(marks.size(), 10u);
  double longest = 0.0;
  for (size_t i = 1; i < marks.size(); ++i) {
    longest = std::max(longest, std::chrono::duration<double, std::milli>(marks[i] - marks[i - 1]).count());
  }
  EXPECT_LE(longest, 500.0) << marks.size() << " idle events";
  EXPECT_TRUE(closeRefused);
  EXPECT_EQ(ReadOrvexaContainerFile(out.File("movie.osq")).AudioVideoContents().size(), 5u);
  std::printf("longest time without events: %.0f ms over %zu idle events\n", longest, marks.size());
}
