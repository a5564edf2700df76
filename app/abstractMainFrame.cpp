// The encode control's state, start-up and the small helpers its parts share.
#include "abstractMainFrame.h"

#include <wx/frame.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include <chrono>

#include "EncodeSession.h"
#include "keEvent.h"
#include "keSourceFilters.h"

abstractMainFrame::abstractMainFrame() = default;

// The window is destroyed only when no run is active (the close handler
// refuses it), so no worker uses the session or the finished event by now.
abstractMainFrame::~abstractMainFrame() {
  session.reset();
  delete finishedEvent;
}

void abstractMainFrame::Init() {
  RegisterSourceFilters();
  finishedEvent = new keEvent(true, "encodingFinishedEvent AbstractMainFrame");
}

void abstractMainFrame::SetEditionTitle(wxFrame* target) {
  target->SetTitle("Ostrel Standard Edition v.3 ");
  target->Refresh(true);
}

void abstractMainFrame::UnregisterSourceFilter() { UnregisterSourceFilters(); }

void abstractMainFrame::SetInputControls(wxTextCtrl* input, wxTextCtrl* output, wxTextCtrl* startTime,
                                         wxTextCtrl* endTime, wxTextCtrl* cropTop, wxTextCtrl* cropRight,
                                         wxTextCtrl* cropLeft, wxTextCtrl* cropBottom, wxTextCtrl* /*unused*/,
                                         wxCheckBox* keepAspect, wxCheckBox* keepSourceSize, wxGrid* grid,
                                         wxFrame* target) {
  inputField = input;
  outputField = output;
  startTimeField = startTime;
  endTimeField = endTime;
  cropTopField = cropTop;
  cropRightField = cropRight;
  cropLeftField = cropLeft;
  cropBottomField = cropBottom;
  keepAspectBox = keepAspect;
  keepSourceSizeBox = keepSourceSize;
  streamsGrid = grid;
  frame = target;
}

void abstractMainFrame::SetProgressControls(wxStaticText* elapsed, wxStaticText* remaining, wxStaticText* total,
                                            wxStaticText* status, wxGauge* progress, wxWindow* /*unused1*/,
                                            wxWindow* /*unused2*/) {
  elapsedLabel = elapsed;
  remainingLabel = remaining;
  totalLabel = total;
  statusLabel = status;
  gauge = progress;
}

long abstractMainFrame::NowSeconds() {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

wxString abstractMainFrame::FormatHMS(int seconds) {
  const int s = seconds % 60;
  const int t = (seconds - s) / 60;
  const int m = t % 60;
  const int h = (t - m) / 60;
  return wxString::Format("%02d:%02d:%02d", h, m, s);
}

bool abstractMainFrame::IsIntegerField(const wxString& label, const wxString& value) {
  bool valid = !value.empty();
  for (wxUniChar c : value) {
    if (c < '0' || c > '9') valid = false;
  }
  if (!valid) wxMessageBox(label + _(" only integer value"), "Message", wxOK | wxCENTRE);
  return valid;
}

bool abstractMainFrame::IsValidFileName(const wxString& name) {
  for (char byte : name.utf8_string()) {
    const int c = static_cast<signed char>(byte);
    if (c < 0) continue;  // beyond ASCII: accented letters
    const bool allowed = c == ' ' || (c >= '-' && c <= ';') || (c >= 'A' && c <= 'Z') || c == '\\' || c == ']' ||
                         c == '_' || (c >= 'a' && c <= 'z');
    if (!allowed) return false;
  }
  return true;
}
