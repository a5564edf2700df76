// Swapping the extension of an output path: the IIS switch and the page
// beside the output both name a file after the output with another
// extension.
#pragma once

#include <string>

/// `path` with everything after its file name's last '.' replaced by
/// `extension` (given without the dot); a file name without a dot gets the
/// dot and the extension appended. Dots in folder names are never taken.
std::string WithExtension(const std::string& path, const std::string& extension);
