// The run from the window: the questions, the running state, progress while
// polling, the finalize animation, the closing messages, cancel and engine
// failures, and the idle state after.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/grid.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "EncodeTestFrame.h"
#include "EncodeTestSupport.h"
#include "HtmlPage.h"
#include "ModalExpectations.h"
#include "OrvexaContainerReader.h"
#include "ProgramDirectory.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "mainFrameIds.h"

namespace fs = std::filesystem;

namespace {

const char kFinished[] = "Finished Encoding    \n\nTotal Time:     ";

// What the window looked like at one moment of a run.
struct RunSnapshot {
  bool running;
  bool encodeMenu, exitMenu, tempDirMenu, encodeTool;
  std::string button, status, elapsed, remaining;
  int gauge;
};

class EncodeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new EncodeTestFrame;
    frame->control.SetTempDirectory(temp.Path());
    frame->output->ChangeValue(out.File("clip.osq"));
    // The player's files beside the program, so that a page is published
    // without a word about them.
    WriteWholeFile(program.File(kAppletArchiveFile), "the applet");
    OverrideProgramDirectory(wxString::FromUTF8(program.Path()));
  }
  void TearDown() override {
    CloseFrame(frame);
    OverrideProgramDirectory(wxString());
  }

  RunSnapshot Snapshot() const {
    wxMenuBar* menus = frame->GetMenuBar();
    return {frame->running->IsChecked(),
            menus->IsEnabled(ID_ENCODE),
            menus->IsEnabled(ID_MENU_EXIT),
            menus->IsEnabled(ID_MENU_TEMP_DIR),
            frame->GetToolBar()->GetToolEnabled(ID_ENCODE),
            frame->encodeButton->GetLabel().utf8_string(),
            frame->status->GetLabel().utf8_string(),
            frame->elapsed->GetLabel().utf8_string(),
            frame->remaining->GetLabel().utf8_string(),
            frame->gauge->GetValue()};
  }
  /// `afterRun`: a run has been through ResetEncodeUi.
  void ExpectIdle(bool afterRun = true) const {
    const RunSnapshot idle = Snapshot();
    EXPECT_FALSE(idle.running);
    EXPECT_TRUE(idle.encodeMenu && idle.exitMenu && idle.tempDirMenu && idle.encodeTool);
    EXPECT_EQ(idle.button, "Encode");
    EXPECT_EQ(idle.status, "0 Stream(s) : Done 0 %");
    if (afterRun) {
      EXPECT_EQ(frame->status->GetForegroundColour(), wxColour(0, 0, 0));
    }
    EXPECT_EQ(idle.gauge, 0);
    EXPECT_EQ(idle.elapsed, "00:00:00");
    EXPECT_EQ(idle.remaining, "00:00:00");
  }

  TempDir out;
  TempDir temp;
  TempDir program;
  EncodeTestFrame* frame = nullptr;
};

}  // namespace

TEST_F(EncodeRun, AnsweringNoOrAFailingCheckLeavesTheWindowIdle) {
  frame->input->SetValue(TestMedia::Path("av.avi"));
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_NO).Icon(wxICON_QUESTION));
  ExpectIdle(false);
  EXPECT_TRUE(out.Entries().empty());

  frame->input->ChangeValue(out.File("none.avi"));
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Input file not found", wxID_OK).Icon(wxICON_ERROR));
  ExpectIdle(false);
  EXPECT_TRUE(out.Entries().empty());
}

TEST_F(EncodeRun, RunShowsItsProgressThenFinishedAndReturnsToIdle) {
  frame->input->SetValue(LongSource(6));
  frame->SelectRows({0, 2});
  frame->htmlPage->SetValue(true);
  std::vector<RunSnapshot> seen;
  WhileRunning watch([&] {
    if (frame->running->IsChecked()) seen.push_back(Snapshot());
    return false;
  });
  wxString finished;
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage(kFinished, wxID_OK).Icon(wxICON_INFORMATION).Prefix().SaveText(&finished));
  watch.Stop();

  EXPECT_TRUE(
      std::regex_match(finished.utf8_string(), std::regex("Finished Encoding    \n\nTotal Time:     00:00:[0-9][0-9]")))
      << finished.utf8_string();
  ASSERT_FALSE(seen.empty());
  std::set<std::string> statuses;
  for (const RunSnapshot& s : seen) {
    EXPECT_TRUE(s.running);
    EXPECT_FALSE(s.encodeMenu || s.exitMenu || s.tempDirMenu || s.encodeTool);
    EXPECT_EQ(s.button, "Cancel");
    if (s.status.find("Finalize") == std::string::npos && s.status != "0 Stream(s) : Done 0 %") {
      statuses.insert(s.status);
      EXPECT_TRUE(std::regex_match(s.status, std::regex("2 Stream\\(s\\) : Done [0-9]+ %  "))) << s.status;
      EXPECT_TRUE(std::regex_match(s.elapsed, std::regex("00:00:[0-9][0-9]"))) << s.elapsed;
    }
  }
  EXPECT_FALSE(statuses.empty());
  ExpectIdle();
  EXPECT_EQ(frame->total->GetLabel(), "00:00:00");
  EXPECT_EQ(frame->control.GetStreamCount(), 2);
  EXPECT_EQ(frame->control.GetSession(), nullptr);

  const OrvexaContainer container = ReadOrvexaContainerFile(out.File("clip.osq"));
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  EXPECT_EQ(container.AudioVideoContents().size(), 2u);
  // The page, as "Generate HTML page" asks.
  EXPECT_GT(out.Entries().size(), 1u);
  EXPECT_TRUE(temp.Entries().empty());
}

TEST_F(EncodeRun, CancelHalfWayShowsCanceledAndKeepsTheOlderOutputAndPage) {
  frame->input->SetValue(LongSource(30));
  frame->SelectRows({0, 1, 2, 3, 4});
  frame->htmlPage->SetValue(true);
  WriteWholeFile(out.File("clip.osq"), "older output");
  WriteWholeFile(out.File("clip.htm"), "older page");
  int asked = 0;
  std::string statusAtCancel;
  // Asked twice while polling: "No" first (the run goes on), then "Yes".
  WhileRunning cancel([&] {
    if (!frame->running->IsChecked() || frame->gauge->GetValue() < 3) return false;
    statusAtCancel = frame->status->GetLabel().utf8_string();
    wxCommandEvent click(wxEVT_BUTTON, frame->encodeButton->GetId());
    click.SetEventObject(frame->encodeButton);
    frame->encodeButton->GetEventHandler()->ProcessEvent(click);
    return ++asked == 2;
  });
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                ExpectEditionMessage("HTML page clip.htm already exists: overwrite it ?", wxID_YES),
                ExpectEditionMessage("Cancel encoding ?", wxID_NO).Icon(wxICON_QUESTION),
                ExpectEditionMessage("Cancel encoding ?", wxID_YES),
                ExpectEditionMessage("Encoding Canceled", wxID_OK).Icon(wxICON_INFORMATION));
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(std::regex_match(statusAtCancel, std::regex("5 Stream\\(s\\) : Done [0-9]+ %  "))) << statusAtCancel;
  ExpectIdle();
  // The total keeps the last value the polling showed.
  EXPECT_TRUE(std::regex_match(frame->total->GetLabel().utf8_string(), std::regex("00:00:[0-9][0-9]")));
  // Byte for byte what was there before: no new output, no new page.
  EXPECT_EQ(out.Entries(), (std::vector<std::string>{"clip.htm", "clip.osq"}));
  EXPECT_EQ(ReadWholeFile(out.File("clip.osq")), "older output");
  EXPECT_EQ(ReadWholeFile(out.File("clip.htm")), "older page");
  EXPECT_TRUE(temp.Entries().empty());  // no temporary file
  EXPECT_EQ(frame->control.GetSession(), nullptr);
}

// A source typed during the run that cannot be encoded must not take away
// the button that cancels the run; the button follows it once idle.
TEST_F(EncodeRun, AnUnencodableSourceTypedDuringTheRunKeepsTheCancelButton) {
  frame->input->SetValue(LongSource(30));
  frame->SelectRows({0, 1, 2, 3, 4});
  bool enabledAfterProbe = false;
  WhileRunning cancel([&] {
    if (!frame->running->IsChecked() || frame->gauge->GetValue() < 3) return false;
    frame->input->SetValue(TestMedia::Path("video.avi"));  // no audio
    enabledAfterProbe = frame->encodeButton->IsEnabled();
    wxCommandEvent click(wxEVT_BUTTON, frame->encodeButton->GetId());
    click.SetEventObject(frame->encodeButton);
    frame->encodeButton->GetEventHandler()->ProcessEvent(click);
    return true;
  });
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Unable to find any audio/video codec.", wxID_OK).Prefix(),
                ExpectEditionMessage("Cancel encoding ?", wxID_YES),
                ExpectEditionMessage("Encoding Canceled", wxID_OK));
  EXPECT_TRUE(cancel.Finished());
  EXPECT_TRUE(enabledAfterProbe);
  EXPECT_FALSE(frame->encodeButton->IsEnabled());
  EXPECT_TRUE(out.Entries().empty());
}

// The cancel arrives at any moment of the polling: before the worker has
// even reached the engine, early, late. Every time the engine objects are
// released only after the worker is done with them, and nothing stays.
TEST_F(EncodeRun, CancelAtAnyMomentOfThePollingLeavesNothing) {
  // Long enough that a late cancel still finds most of the run ahead of it
  // on a loaded machine: a cancel after the last poll would rightly keep a
  // finished file instead.
  const std::string source = LongSource(30);
  for (int percent : {-1, 0, 1, 25, 50}) {
    SCOPED_TRACE("cancel at " + std::to_string(percent) + " %");
    TearDown();
    SetUp();
    frame->input->SetValue(source);
    frame->SelectRows({0, 1, 2, 3, 4});
    WhileRunning cancel(
        [&] {
          if (!frame->running->IsChecked()) return false;
          if (percent >= 0 && frame->gauge->GetValue() < percent) return false;
          frame->Encode();
          return true;
        },
        percent < 0 ? 1 : 20);
    wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                  ExpectEditionMessage("Cancel encoding ?", wxID_YES),
                  ExpectEditionMessage("Encoding Canceled", wxID_OK));
    EXPECT_TRUE(cancel.Finished());
    ExpectIdle();
    EXPECT_EQ(frame->control.GetSession(), nullptr);
    EXPECT_TRUE(out.Entries().empty());
    EXPECT_TRUE(temp.Entries().empty());
  }
}

// A refusal of the set-up comes before the window runs, after the user has
// agreed to overwrite: the message is shown over the idle window, and the
// older output is still there, byte for byte.
TEST_F(EncodeRun, ARefusedSetUpKeepsTheOlderOutputAndTheWindowIdle) {
  struct Case {
    const char* what;
    std::function<void(EncodeTestFrame&, TempDir&)> arrange;
    const char* said;
  };
  const std::vector<Case> cases = {
      {"temporary folder gone", [](EncodeTestFrame& f, TempDir& t) { f.control.SetTempDirectory(t.File("gone/away")); },
       "gone/away"},
      {"start past the source's end", [](EncodeTestFrame& f, TempDir&) { f.startTime->ChangeValue("100"); },
       "The start time 100.00 s is not before the end of the source"},
      {"frame rate 0 from the configuration", [](EncodeTestFrame& f, TempDir&) { f.grid->SetCellValue(2, 4, "0"); },
       "Row 3 \"ADSL1\": the frame rate \"0\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    frame->input->SetValue(TestMedia::Path("av.avi"));
    frame->htmlPage->SetValue(true);
    WriteWholeFile(out.File("clip.osq"), "older output");
    c.arrange(*frame, temp);
    std::string button;
    bool running = true;
    wxString refusal;
    wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                  ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                  ExpectEditionMessage("", wxID_OK)
                      .Icon(wxICON_ERROR)
                      .OnShown([&] {
                        button = frame->encodeButton->GetLabel().utf8_string();
                        running = frame->running->IsChecked();
                      })
                      .Prefix()
                      .SaveText(&refusal));
    const std::string said = refusal.utf8_string();
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_EQ(button, "Encode") << "the refusal is shown over the idle window";
    EXPECT_FALSE(running);
    ExpectIdle(false);
    EXPECT_EQ(out.Entries(), std::vector<std::string>{"clip.osq"});
    EXPECT_EQ(ReadWholeFile(out.File("clip.osq")), "older output");
    EXPECT_EQ(frame->control.GetSession(), nullptr);
  }
}

// The grid and the output field stay editable during a run; the page names
// what the run encoded, under the name it was given, sized as encoded.
TEST_F(EncodeRun, ThePageNamesWhatWasEncodedWhateverIsEditedDuringTheRun) {
  frame->input->SetValue(LongSource(6));
  frame->SelectRows({0, 1, 2, 3, 4});
  frame->htmlPage->SetValue(true);
  bool edited = false;
  WhileRunning edit([&] {
    if (!frame->running->IsChecked()) return false;
    for (int row : {1, 2, 3, 4}) frame->grid->SetCellValue(row, 0, "");
    frame->grid->SetCellValue(0, 1, "Renamed");
    frame->grid->SetCellValue(0, 2, "992");
    frame->output->ChangeValue(out.File("other.osq"));
    edited = true;
    return true;
  });
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage(kFinished, wxID_OK).Prefix());
  ASSERT_TRUE(edited);
  const std::string page = ReadWholeFile(out.File("clip.htm"));
  EXPECT_NE(page.find("<p>Video: clip.osq&nbsp;&nbsp;Stream: Modem, ISDN, ADSL1, ADSL2, MEGA</p>"), std::string::npos)
      << page;
  // MEGA, 512 wide with the aspect kept: 640x480 gives 384 rows.
  EXPECT_NE(page.find(" width=\"514\" height=\"402\" "), std::string::npos) << page;
  const OrvexaContainer container = ReadOrvexaContainerFile(out.File("clip.osq"));
  int widest = 0, tallest = 0;
  for (const OrvexaContent* content : container.AudioVideoContents()) {
    for (const auto& [serial, stream] : content->streams) {
      widest = std::max(widest, stream.frameWidth);
      tallest = std::max(tallest, stream.frameHeight);
    }
  }
  EXPECT_EQ(widest, 512);
  EXPECT_EQ(tallest, 384);
  EXPECT_FALSE(fs::exists(out.File("other.osq")));
}

// A disk that fills up while the run writes: files of this process may not
// grow past 64 KiB for the time of the run.
TEST_F(EncodeRun, AWriteFailingDuringTheRunIsToldWithTheEnginesReason) {
  const std::string source = LongSource(6);
  frame->input->SetValue(source);
  frame->htmlPage->SetValue(true);
  struct rlimit before {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  WriteWholeFile(out.File("clip.osq"), "older output");
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit full = before;
  full.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
  wxString failure;
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage("Output file already exists: overwrite it ?", wxID_YES),
                ExpectEditionMessage("Encoding failed:\n\n", wxID_OK).Icon(wxICON_ERROR).Prefix().SaveText(&failure));
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previousSignal);
  const std::string said = failure.utf8_string();
  EXPECT_GT(said.size(), std::string("Encoding failed:\n\n").size()) << said;
  std::printf("a failed write told as: %s\n", said.c_str());
  ExpectIdle();
  // The older output as it was, and no page.
  EXPECT_EQ(out.Entries(), std::vector<std::string>{"clip.osq"});
  EXPECT_EQ(ReadWholeFile(out.File("clip.osq")), "older output");
  EXPECT_TRUE(temp.Entries().empty());
}

TEST_F(EncodeRun, PartsOfTheSourceLeftOutAreToldAfterTheFinishedMessage) {
  frame->input->SetValue(DamagedSource());
  wxString leftOut;
  wxTEST_DIALOG(frame->Encode(), ExpectEditionMessage("Start encoding ?", wxID_YES),
                ExpectEditionMessage(kFinished, wxID_OK).Prefix(),
                ExpectEditionMessage("The encode left out parts of the source that could not be read:\n", wxID_OK)
                    .Icon(wxICON_WARNING)
                    .Prefix()
                    .SaveText(&leftOut));
  EXPECT_NE(leftOut.Find("damaged packet"), wxNOT_FOUND) << leftOut.utf8_string();
  ExpectIdle();
  const OrvexaContainer container = ReadOrvexaContainerFile(out.File("clip.osq"));
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
}

namespace {

// The progress and animation steps on their own, with a clock set back.
class ProgressControl : public abstractMainFrame {
 public:
  void StartedSecondsAgo(long seconds) { runStart = NowSeconds() - seconds; }
  void PollingEndedSecondsAgo(long seconds) { pollingEnd = NowSeconds() - seconds; }
  void SetStreamCount(int count) { runPlan.profiles.resize(count); }
};

}  // namespace

TEST_F(EncodeRun, ProgressTextsAndTheFinalizeAnimation) {
  ProgressControl control;
  control.SetWindow(frame->Window());
  struct Case {
    long elapsed;
    int percent;
    int streams;
    const char* remaining;
    const char* status;
  };
  const std::vector<Case> cases = {
      {60, 25, 2, "00:03:00", "2 Stream(s) : Done 25 %  "},
      {60, 0, 1, "--:--:--", "1 Stream(s) : Done 0 %  "},  // no percent yet: no estimate
      {3599, 50, 5, "00:59:59", "5 Stream(s) : Done 50 %  "},
      {7, 100, 1, "00:00:00", "1 Stream(s) : Done 100 %  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    control.StartedSecondsAgo(c.elapsed);
    control.SetStreamCount(c.streams);
    EXPECT_NEAR(control.UpdateProgress(c.percent), c.elapsed, 1);
    EXPECT_EQ(frame->remaining->GetLabel(), c.remaining);
    EXPECT_EQ(frame->status->GetLabel(), c.status);
    EXPECT_EQ(frame->elapsed->GetLabel(), frame->total->GetLabel());
    EXPECT_EQ(frame->gauge->GetValue(), c.percent);
  }

  std::vector<std::string> shown;
  WhileRunning record(
      [&] {
        const std::string text = frame->status->GetLabel().utf8_string();
        if (shown.empty() || shown.back() != text) shown.push_back(text);
        EXPECT_EQ(frame->status->GetForegroundColour(), wxColour(255, 0, 0));
        return false;
      },
      20);
  control.AnimateStatus("Finalize");
  record.Stop();
  EXPECT_EQ(shown, (std::vector<std::string>{"Finalize.", "Finalize...", "Finalize......"}));
  EXPECT_EQ(frame->status->GetLabel(), "Finalize......");

  control.PollingEndedSecondsAgo(5);
  control.UpdateFinalizeTime(60);
  EXPECT_EQ(frame->total->GetLabel(), "00:01:05");
}
