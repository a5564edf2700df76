// The applet player's files beside a published page: the applet archive and,
// with the graphic toolbar, its image. They are not part of the program: a
// user puts them beside it, and every page gets a copy of them. What could
// not be copied comes back as words a user can act on.
#pragma once

#include <string>
#include <vector>

/// What copying the player's files beside a page came to.
struct PlayerFilesCopy {
  /// The files that are not beside the program, in copy order.
  std::vector<std::string> missing;
  /// Copies that failed for another reason, each a sentence naming both paths.
  std::vector<std::string> failures;
};

/// The player's files a page needs: the archive, and with `toolbar` the image.
std::vector<std::string> PlayerFileNames(bool toolbar);

/// Copies each of `names` from `programDir` into `outputDir`, replacing a
/// copy there. A folder that is both copies nothing: the files are in place.
PlayerFilesCopy CopyPlayerFiles(const std::string& programDir, const std::string& outputDir,
                                const std::vector<std::string>& names);

/// The warning for files missing beside the program: what the page named
/// `pageName` was written without, and where to put them.
std::string MissingPlayerFilesText(const std::string& pageName, const std::vector<std::string>& missing,
                                   const std::string& programDir);
