// The window tests' one wait: the shared poll, with the toolkit handling its
// events between two looks.
#include <wx/app.h>

#include "GuiTestSupport.h"
#include "PollUntil.h"

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  return PollUntil(done, seconds, [] { wxYield(); });
}
