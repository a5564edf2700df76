// Encodes one file from the main window itself, as a user does, and measures
// how responsive the window stays: the longest time the GUI thread goes
// without handling events (between idle events) while the run lasts, and the
// run's time from the "Start encoding ?" answer to the "Finished Encoding"
// message. The window's questions and messages are answered by the toolkit's
// testing hooks. Needs a display (xvfb-run).
//
//   window_encode --input F --output O --tmp DIR [--all] [--runs N] [--verbose] [--no-preview]
//                 [--page] [--replace]
//
// Without --all the window's factory rows are used (ADSL1 alone); --verbose
// also lists every gap above 150 ms and every message the window shows, with
// the Encode button's label at that moment; --no-preview builds the window
// without a media control; --page ticks "Generate HTML page"; --replace
// keeps an existing output (and page) and answers Yes to replacing them,
// instead of removing the output before each run. Prints one line per run:
//   run N: window S s, longest event gap G ms, idle events K
// Exits 0 only when every run finished with a complete container.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/grid.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/testing.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ProgramDirectory.h"
#include "mainFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// Answers every message box: Yes to the start question, OK to the rest, and
// notes when the run began and ended and what it said.
struct RunMarks {
  Clock::time_point started;
  Clock::time_point finished;
  bool running = false;
  wxString lastMessage;
  /// The first message after the run: its outcome (a warning about the
  /// page's files may follow it).
  wxString outcome;
};
RunMarks g_marks;
bool g_replace = false;
bool g_verbose = false;
wxButton* g_encodeButton = nullptr;

class BenchHook : public wxModalDialogHook {
 public:
  BenchHook() { Register(); }
  ~BenchHook() override { Unregister(); }

 protected:
  int Enter(wxDialog* dialog) override {
    auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    if (!box) return wxID_CANCEL;
    g_marks.lastMessage = box->GetMessage();
    if (g_verbose) {
      std::printf("  message [button \"%s\"]: %s\n",
                  g_encodeButton ? g_encodeButton->GetLabel().utf8_string().c_str() : "",
                  box->GetMessage().utf8_string().c_str());
      std::fflush(stdout);
    }
    if (box->GetMessage() == "Start encoding ?") {
      g_marks.started = Clock::now();
      g_marks.running = true;
      return wxID_YES;
    }
    // Replacing an older output or page is asked before the run starts.
    if (g_replace && box->GetMessage().EndsWith("already exists: overwrite it ?")) return wxID_YES;
    if (g_marks.running) {
      g_marks.finished = Clock::now();
      g_marks.running = false;
      g_marks.outcome = box->GetMessage();
    }
    return box->HasFlag(wxYES_NO) ? wxID_NO : wxID_OK;
  }
  void Exit(wxDialog*) override {}
};

int Usage(const char* why) {
  std::fprintf(stderr,
               "window_encode: %s\nusage: window_encode --input F --output O --tmp DIR [--all] [--runs N] [--verbose]\n"
               "                     [--no-preview] [--page] [--replace]\n",
               why);
  return 2;
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  std::string input, output, tempDir;
  bool all = false;
  bool verbose = false;
  bool preview = true;
  bool page = false;
  int runs = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--input" && hasValue) input = argv[++i];
    else if (arg == "--output" && hasValue) output = argv[++i];
    else if (arg == "--tmp" && hasValue) tempDir = argv[++i];
    else if (arg == "--runs" && hasValue) runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--all") all = true;
    else if (arg == "--verbose") verbose = true;
    else if (arg == "--no-preview") preview = false;
    else if (arg == "--page") page = true;
    else if (arg == "--replace") g_replace = true;
    else return Usage(("unknown argument " + arg).c_str());
  }
  if (input.empty() || output.empty() || tempDir.empty()) return Usage("--input, --output and --tmp are required");
  g_verbose = verbose;

  // A configuration and a program folder of the run's own: nothing of the
  // user's settings is read or written.
  char pattern[] = "/tmp/ostrel-window-bench-XXXXXX";
  const char* home = mkdtemp(pattern);
  if (!home) return 1;
  setenv("HOME", home, 1);
  setenv("GST_AUDIOSINK", "fakesink", 0);
  int wxArgc = 1;
  if (!wxEntryStart(wxArgc, argv) || !wxTheApp || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "window_encode: the toolkit could not start (no display?)\n");
    return 1;
  }
  wxTheApp->SetVendorName("Harwelco");
  wxTheApp->SetAppName("Ostrel 3");
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxConfigBase::Set(new wxFileConfig("Ostrel 3", "Harwelco", std::string(home) + "/ostrel.ini", wxEmptyString,
                                     wxCONFIG_USE_LOCAL_FILE));
  wxConfigBase::Get()->Write("/General/tmpDir", wxString::FromUTF8(tempDir));
  OverrideProgramDirectory(wxString::FromUTF8(home));  // no default_streams.xml: the factory rows

  int failures = 0;
  {
    BenchHook hook;
    // A backend that does not exist builds the window as a machine without
    // one: no preview.
    if (!preview) mainFrame::SetMediaBackend("wxNoSuchMediaBackend");
    auto* frame =
        new mainFrame(nullptr, ID_MAIN_FRAME, "Ostrel", wxDefaultPosition, wxSize(900, 700), mainFrame::DefaultStyle());
    frame->Show();
    g_encodeButton = frame->encodeButton;
    frame->htmlPageCheck->SetValue(page);
    frame->ApplyHtmlPageChoice();
    if (all) {
      for (int row = 0; row < 5; ++row) frame->streamsGrid->SetCellValue(row, 0, "1");
    }
    std::vector<Clock::time_point> idles;
    frame->Bind(wxEVT_IDLE, [&](wxIdleEvent& event) {
      if (g_marks.running) idles.push_back(Clock::now());
      event.Skip();
    });
    frame->inputPathText->SetValue(wxString::FromUTF8(input));  // probes it, as typing does
    frame->outputPathText->ChangeValue(wxString::FromUTF8(output));
    for (int run = 1; run <= runs; ++run) {
      idles.clear();
      g_marks.outcome.clear();
      if (!g_replace) std::filesystem::remove(output);
      wxCommandEvent click(wxEVT_BUTTON, ID_ENCODE_BUTTON);
      click.SetEventObject(frame->encodeButton);
      frame->encodeButton->GetEventHandler()->ProcessEvent(click);

      const wxString ended = g_marks.outcome.empty() ? g_marks.lastMessage : g_marks.outcome;
      if (!ended.StartsWith("Finished Encoding")) {
        ++failures;
        std::fprintf(stderr, "window_encode: run %d ended with: %s\n", run, ended.utf8_string().c_str());
        continue;
      }
      std::vector<Clock::time_point> marks;
      marks.push_back(g_marks.started);
      marks.insert(marks.end(), idles.begin(), idles.end());
      marks.push_back(g_marks.finished);
      double longest = 0.0;
      for (size_t i = 1; i < marks.size(); ++i) {
        const double gap = std::chrono::duration<double, std::milli>(marks[i] - marks[i - 1]).count();
        longest = std::max(longest, gap);
        if (verbose && gap > 150.0) std::printf("  gap %.0f ms before mark %zu of %zu\n", gap, i, marks.size() - 1);
      }
      const double seconds = std::chrono::duration<double>(g_marks.finished - g_marks.started).count();
      std::printf("run %d: window %.2f s, longest event gap %.0f ms, idle events %zu\n", run, seconds, longest,
                  idles.size());
      std::fflush(stdout);
    }
    g_encodeButton = nullptr;
    frame->Destroy();
    for (int i = 0; i < 5; ++i) wxYield();
  }
  delete wxConfigBase::Set(nullptr);
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::filesystem::remove_all(home);
  return failures == 0 ? 0 : 1;
}
