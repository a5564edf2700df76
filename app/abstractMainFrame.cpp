// The encode control's state, start-up and the small helpers its parts share.
#include "abstractMainFrame.h"

#include <wx/frame.h>
#include <wx/intl.h>

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
