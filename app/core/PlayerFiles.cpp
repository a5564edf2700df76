#include "PlayerFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "HtmlPage.h"
#include "platform/kePath.h"
#include "platform/keUnnamedFile.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

/// What the file is to the player, for the user.
std::string Described(const std::string& name) {
  if (name == kAppletArchiveFile) return "the applet player (" + name + ")";
  if (name == kToolbarImageFile) return "the toolbar image (" + name + ")";
  return name;
}

std::string JoinedWithAnd(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  return text;
}

}  // namespace

std::vector<std::string> PlayerFileNames(bool toolbar) {
  std::vector<std::string> names = {kAppletArchiveFile};
  if (toolbar) names.push_back(kToolbarImageFile);
  return names;
}

PlayerFilesCopy CopyPlayerFiles(const std::string& programDir, const std::string& outputDir,
                                const std::vector<std::string>& names) {
  PlayerFilesCopy result;
  for (const std::string& name : names) {
    const std::string from = kePlatform::JoinPath(programDir, name);
    const std::string to = kePlatform::JoinPath(outputDir, name);
    struct stat info {};
    if (stat(from.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
      result.missing.push_back(name);
      continue;
    }
    // With the output in the program's own folder the file is already in
    // place; copying it onto itself would empty it.
    if (kePlatform::IsSameFile(from, to)) continue;
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error)
      result.failures.push_back("Could not copy " + Quoted(from) + " to " + Quoted(to) + ": " + error.message() + ".");
  }
  return result;
}

std::string MissingPlayerFilesText(const std::string& pageName, const std::vector<std::string>& missing,
                                   const std::string& programDir) {
  std::vector<std::string> described;
  for (const std::string& name : missing) described.push_back(Described(name));
  return "The HTML page " + pageName + " was written without " + JoinedWithAnd(described) + "; put " +
         JoinedWithAnd(missing) + " beside the program, in " + programDir + ", to have " +
         (missing.size() == 1 ? "it" : "them") + " copied next to every page.";
}
