// Where the program lies, worked out from its first command-line argument,
// as the HTML page writer needs it to find the files it copies.
#pragma once

#include <functional>
#include <string>

struct AppPathInputs {
  std::string argv0;          ///< the first command-line argument
  std::string currentDir;     ///< the working directory
  std::string overrideValue;  ///< the value of the named environment variable, if any
  std::string pathValue;      ///< the value of "PATH" (':'-separated)
  std::function<bool(const std::string&)> fileExists;
};

/// In order: a non-empty override value; the directory of an absolute argv0;
/// the directory of currentDir joined with argv0 when that file exists; the
/// first directory of PATH holding argv0. Empty when none applies. Directories
/// are returned without their trailing separator, the root as "/".
std::string FindAppPathIn(const AppPathInputs& in);
