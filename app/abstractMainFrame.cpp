#include "abstractMainFrame.h"

#include <wx/frame.h>
#include <wx/intl.h>

#include "EncodeSession.h"
#include "keEvent.h"
#include "keSourceFilters.h"

abstractMainFrame::abstractMainFrame() = default;

// The finished event and the engine objects outlive nothing here: the frame
// is destroyed only when no run is active (the close handler refuses it).
abstractMainFrame::~abstractMainFrame() { delete finishedEvent; }

void abstractMainFrame::Init() {
  RegisterSourceFilters();
  finishedEvent = new keEvent(true, "encodingFinishedEvent AbstractMainFrame");
}

void abstractMainFrame::SetEditionTitle(wxFrame* target) {
  target->SetTitle("Ostrel Standard Edition v.3 ");
  target->Refresh(true);
}

void abstractMainFrame::UnregisterSourceFilter() { UnregisterSourceFilters(); }
