// The real launcher: outside programs started through the toolkit, which
// reaps them when they end.
#pragma once

#include "Launcher.h"

class SystemLauncher : public Launcher {
 public:
  /// Runs "xdg-open" from the PATH with the address and watches how it ends.
  bool OpenInBrowser(const std::string& address, std::function<void()> failedLater) override;
  bool StartDetached(const std::string& commandLine, const std::string& workingDir) override;
};
