// The window tests' one wait: the toolkit keeps handling events meanwhile,
// and a deadline turns a regression into a failure instead of a hang.
#include <wx/app.h>
#include <wx/utils.h>

#include <chrono>

#include "GuiTestSupport.h"

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    wxYield();
    wxMilliSleep(10);
  }
  return true;
}
