// The one door to outside programs: the browser and the updater. The window
// goes through it so that tests can put a recorder in its place and check
// what would have been started, without starting anything.
#pragma once

#include <functional>
#include <string>

class Launcher {
 public:
  virtual ~Launcher() = default;
  /// Opens the page or address with the desktop's default program, without
  /// waiting. False when no opener could be started. An opener that starts
  /// may still find no browser to hand the page to: then `failedLater` runs,
  /// on the GUI thread, once the opener has ended.
  virtual bool OpenInBrowser(const std::string& address, std::function<void()> failedLater) = 0;
  /// Starts the command line (program and arguments, double quotes grouping)
  /// in `workingDir`, without waiting. True when the program was started.
  virtual bool StartDetached(const std::string& commandLine, const std::string& workingDir) = 0;
};
