// The daily update offer and the updater's command line.
#include "UpdateCheck.h"

bool IsUpdateQuestionDue(const std::string& storedDate, const std::string& today) { return storedDate != today; }

std::string UpdaterArguments(const UpdaterOptions& options) {
  std::string args;
  if (options.saveLog) args += " --savelog";
  if (options.restart) args += " --restart";
  const auto add = [&args](const char* option, const std::string& value) {
    if (!value.empty()) args += std::string(" --") + option + "=\"" + value + "\"";
  };
  add("xrc", options.resourceFile);
  add("res", options.resourceName);
  add("xml", options.descriptionFile);
  add("uri", options.address);
  return args;
}

UpdaterOptions DefaultUpdaterOptions() {
  UpdaterOptions options;
  options.saveLog = true;
  options.restart = true;
  options.resourceFile = "webupdatedlg.xrc";
  options.resourceName = "wxWebUpdateDlg";
  options.descriptionFile = "webupdate_std.xml";
  return options;
}
