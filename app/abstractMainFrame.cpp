// The encode control's state, start-up and the small helpers its parts share.
#include "abstractMainFrame.h"

#include <wx/frame.h>
#include <wx/intl.h>

#include <chrono>

#include "EncodeSession.h"
#include "ProductVersion.h"
#include "keEvent.h"
#include "keSourceFilters.h"

abstractMainFrame::abstractMainFrame() : outputExtension(kDefaultOutputExtension) {}

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
  target->SetTitle(kEditionTitle);
  target->Refresh(true);
}

void abstractMainFrame::UnregisterSourceFilter() { UnregisterSourceFilters(); }

long abstractMainFrame::NowSeconds() {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}
