// The real launcher: outside programs started through the toolkit, which
// reaps them when they end.
#pragma once

#include "Launcher.h"

class SystemLauncher : public Launcher {
 public:
  /// Runs "xdg-open" with the address.
  bool OpenInBrowser(const std::string& address) override;
  bool StartDetached(const std::string& commandLine, const std::string& workingDir) override;
};
