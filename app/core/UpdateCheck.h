// The daily update offer and the updater's command line.
#pragma once

#include <string>

/// The updater program, which lies beside the executable (not part of Ostrel).
constexpr const char* kUpdaterProgram = "webupdater";

/// The question is due whenever the stored date differs from today: a date
/// later than today (a clock set back) counts as a new day too.
bool IsUpdateQuestionDue(const std::string& storedDate, const std::string& today);

struct UpdaterOptions {
  bool saveLog = false;
  bool restart = false;
  std::string resourceFile;     ///< --xrc
  std::string resourceName;     ///< --res
  std::string descriptionFile;  ///< --xml
  std::string address;          ///< --uri
};

/// The options appended to the program name: " --savelog", " --restart", then
/// each non-empty value as " --opt=\"value\"" in the order xrc, res, xml, uri.
std::string UpdaterArguments(const UpdaterOptions& options);

/// The options the daily question and "Check for Updates" start the updater with.
UpdaterOptions DefaultUpdaterOptions();
