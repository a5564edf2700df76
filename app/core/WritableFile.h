// Whether a file could be written, asked without changing it: an existing
// file keeps every byte (an older output must stay until a complete new one
// replaces it), and a file that did not exist is not left behind.
#pragma once

#include <string>

/// True when `path` can be opened for writing: an existing file is opened
/// without truncation and closed untouched; a missing one is created and
/// removed again.
[[nodiscard]] bool CanOpenForWriting(const std::string& path);
