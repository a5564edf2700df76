// One encode from the window: the Encode command, the run with its progress,
// cancel and finalize, the outcome told to the user, and the clean-up.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mediactrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EncodeSession.h"
#include "MyWorkerThread.h"
#include "PreviewControls.h"
#include "ProductVersion.h"
#include "abstractMainFrame.h"
#include "appUtils.h"
#include "mainFrameIds.h"
#include "keEvent.h"

namespace {

// The first profile is polled every 300 ms and the finalize status moves
// every 500 ms, but the GUI handles its events every 100 ms in between (and
// every 150 ms of the animation), so the window answers at once; the end of
// the worker cuts every wait short.
constexpr int kPollMilliseconds = 300;
constexpr int kFinalizeWaitMilliseconds = 500;
constexpr int kSliceMilliseconds = 100;
constexpr int kAnimationStepMilliseconds = 150;

void SetText(wxStaticText* label, const wxString& text) {
  if (label) label->SetLabel(text);
}

// Lets the GUI process its events with every other top-level window
// disabled, so that only the main window (and its Cancel) answers.
void YieldToGui(wxWindow* frame) { wxSafeYield(frame, true); }

void EnableRunCommands(wxFrame* frame, bool enable) {
  if (!frame) return;
  if (wxMenuBar* menus = frame->GetMenuBar()) {
    for (int id : {ID_ENCODE, ID_MENU_EXIT, ID_MENU_TEMP_DIR}) {
      if (menus->FindItem(id)) menus->Enable(id, enable);
    }
  }
  if (wxToolBar* tools = frame->GetToolBar()) {
    if (tools->FindById(ID_ENCODE)) tools->EnableTool(ID_ENCODE, enable);
  }
}

// Parts of the source the engine had to leave out: the container is
// complete but not all of the source is in it, which the user must know.
void ShowWarnings(const std::vector<std::string>& warnings, wxWindow* parent) {
  if (warnings.empty()) return;
  wxString text = _("The encode left out parts of the source that could not be read:\n");
  for (const std::string& warning : warnings) text += "\n" + wxString::FromUTF8(warning);
  wxMessageBox(text, kEditionTitle, wxOK | wxICON_WARNING, parent);
}

bool AskYesNo(const wxString& text) {
  wxMessageDialog question(nullptr, text, wxGetTranslation(kEditionTitle), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  return question.ShowModal() == wxID_YES;
}

}  // namespace

void abstractMainFrame::OnEncode(const EncodeWindow& given) {
  if (given.running && given.running->IsChecked()) {
    AskToCancel();
    return;
  }
  if (!AskYesNo(_("Start encoding ?"))) return;

  SetCancelRequested(false);
  SetWindow(given);
  // Every refusal comes here, with the window idle and no file touched.
  std::unique_ptr<EncodeSession> prepared = PrepareEncoding();
  if (!prepared) return;
  session = std::move(prepared);
  runPlan = session->Plan();

  SetEncodeUiRunning(window);
  RunEncoding();
  PreviewControls::ShowSourceAgain(window.media);  // the run stopped it, which blanks it
  ResetEncodeUi(window);
}

void abstractMainFrame::AskToCancel() {
  // While the question is open the run may finish encoding, but its
  // container waits: the older output stays as it was until the answer. A
  // container already let go in place leaves nothing to cancel, and nothing
  // is asked; the run ends as usual.
  if (!session || !session->HoldFinish()) return;
  if (AskYesNo(_("Cancel encoding ?"))) {
    // Cancelled at once, in the finalize phase too; the polling loop sees
    // the flag and ends.
    SetCancelRequested(true);
    session->Cancel();
  }
  session->ReleaseFinish();
}

void abstractMainFrame::SetEncodeUiRunning(const EncodeWindow& controls) {
  EnableRunCommands(controls.frame, false);
  if (controls.running) controls.running->SetValue(true);
  if (controls.encodeButton) controls.encodeButton->SetLabel(_("Cancel"));
}

void abstractMainFrame::ResetEncodeUi(const EncodeWindow& controls) {
  EnableRunCommands(controls.frame, true);
  if (controls.status) {
    controls.status->SetForegroundColour(wxColour(0, 0, 0));
    controls.status->SetLabel(_("0 Stream(s) : Done 0 %"));
  }
  if (controls.gauge) controls.gauge->SetValue(0);
  if (controls.running) controls.running->SetValue(false);
  if (controls.encodeButton) {
    controls.encodeButton->SetLabel(_("Encode"));
    if (encodeVerdictAfterRun) controls.encodeButton->Enable(*encodeVerdictAfterRun);
  }
  encodeVerdictAfterRun.reset();
  SetText(controls.elapsed, "00:00:00");
  SetText(controls.remaining, "00:00:00");
}

void abstractMainFrame::RunEncoding() {
  if (!session) return;
  // Detached: it deletes itself once Entry returns. Only a thread that
  // failed to start is ours to delete.
  auto* worker = new MyWorkerThread(*this);
  if (window.media) window.media->Stop();
  runStart = NowSeconds();
  finishedEvent->Reset();
  // Told before the thread starts: from now on the session waits for its
  // worker whatever happens.
  session->ExpectWorker(true);
  if (worker->Run() != wxTHREAD_NO_ERROR) {
    delete worker;
    session->ExpectWorker(false);
    finishedEvent->Set();
    wxLogError(_("Can't create thread!"));
    // Nothing was started: the engine objects go at once.
    session.reset();
    return;
  }
  YieldToGui(window.frame);

  int percentage = 0;
  int elapsed = 0;
  bool cancelled = false;
  // A failed or short first profile may never reach 100 %: the end of the
  // output or of the worker ends the polling too.
  while (percentage < 100) {
    WaitForWorker(kPollMilliseconds);
    if (cancelRequested) {
      session->Cancel();
      cancelled = true;
      break;
    }
    percentage = session->FirstProfilePercent();
    elapsed = UpdateProgress(percentage);
    if (session->IsOutputFinished() || done) break;
  }
  pollingEnd = NowSeconds();
  FinishRun(cancelled, elapsed);
}

void abstractMainFrame::FinishRun(bool cancelled, int elapsed) {
  wxWindow* frame = window.frame;
  // The worker signals the finished event as its last step, after a cancel
  // too: until then it may still use the output and the reader. The wait is
  // cut into slices so that the window keeps handling its events.
  while (!WaitForWorker(kFinalizeWaitMilliseconds)) {
    AnimateStatus(_("Finalize"));
    UpdateFinalizeTime(elapsed);
  }

  const int total = static_cast<int>(NowSeconds() - runStart);
  const EncodeResult result = session->Result();
  // The outcome is the engine's: a cancel that came once the container was
  // complete changed nothing, and the finished file is kept and reported.
  if (result.status == EncodeResult::kSucceeded) {
    wxMessageBox(wxString(_("Finished Encoding    \n\nTotal Time:     ")) + AppUtils().FormatHMS(total), kEditionTitle,
                 wxOK | wxICON_INFORMATION, frame);
    SetText(window.total, AppUtils().FormatHMS(0));
    ShowWarnings(result.warnings, frame);
    if (runPlan.page.write) WriteHtmlPage(runPlan);
  } else if (cancelled || result.status == EncodeResult::kCancelled) {
    wxMessageBox(_("Encoding Canceled"), kEditionTitle, wxOK | wxICON_INFORMATION, frame);
  } else {
    const wxString reason = result.reason.empty() ? wxString(_("The encoder stopped without a reason."))
                                                  : wxString::FromUTF8(result.reason);
    wxMessageBox(wxString(_("Encoding failed:\n\n")) + reason, kEditionTitle, wxOK | wxICON_ERROR, frame);
  }
  CleanupEncoding();
}

bool abstractMainFrame::WaitForWorker(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += kSliceMilliseconds) {
    const bool finished = finishedEvent->Wait(std::min(kSliceMilliseconds, milliseconds - waited));
    YieldToGui(window.frame);
    if (finished) return true;
  }
  return false;
}

int abstractMainFrame::UpdateProgress(int percentage) {
  const int elapsed = static_cast<int>(NowSeconds() - runStart);
  // Before the first percent no remaining time can be told.
  wxString remaining = "--:--:--";
  if (percentage > 0) {
    const int estimate = static_cast<int>(elapsed * 100.0 / percentage) - elapsed;
    remaining = AppUtils().FormatHMS(std::max(estimate, 0));
  }
  SetText(window.elapsed, AppUtils().FormatHMS(elapsed));
  SetText(window.remaining, remaining);
  SetText(window.total, AppUtils().FormatHMS(elapsed));
  if (window.gauge) window.gauge->SetValue(std::clamp(percentage, 0, 100));
  SetText(window.status, wxString::Format(_("%d Stream(s) : Done %d %%  "), GetStreamCount(), percentage));
  return elapsed;
}

void abstractMainFrame::UpdateFinalizeTime(int elapsed) {
  SetText(window.total, AppUtils().FormatHMS(elapsed + static_cast<int>(NowSeconds() - pollingEnd)));
}

void abstractMainFrame::AnimateStatus(const wxString& text) {
  if (window.status) window.status->SetForegroundColour(wxColour(255, 0, 0));
  for (const char* dots : {".", "...", "......"}) {
    SetText(window.status, text + dots);
    wxMilliSleep(kAnimationStepMilliseconds);
    YieldToGui(window.frame);
  }
  SetText(window.status, text + "......");
}

void abstractMainFrame::FinishEncoding() {
  done = true;
  if (finishedEvent) finishedEvent->Set();
}

void abstractMainFrame::CleanupEncoding() {
  // The worker is done (the finished event said so): the session's engine
  // objects can go. Its destructor waits for the worker all the same. No
  // file is removed: the engine names the output only when it is complete,
  // so after a cancel or a failure the path holds the older output, if any,
  // which stays the user's.
  session.reset();
}
