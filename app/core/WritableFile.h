// Whether a file could be written, asked without changing it: an existing
// file keeps every byte (an older output or page must stay until the run has
// something to replace it with), and a file that did not exist is not left
// behind.
#pragma once

#include <string>

/// True when `path` can be opened for writing: an existing file is opened
/// without truncation and closed untouched; a missing one is created and
/// removed again.
[[nodiscard]] bool CanOpenForWriting(const std::string& path);

/// True when a file written whole at `path` (as the HTML page is) may take
/// its place: nothing is there yet and it can be created, or a regular file
/// that its owner left writable and that can be opened for writing. Else
/// false with `reason`, words that follow "cannot be written: " ("it is a
/// folder", "it is read-only", the system's reason). Nothing is changed. A
/// read-only file is refused whoever asks: the superuser could write it, but
/// its owner protected it.
[[nodiscard]] bool CanReplaceFile(const std::string& path, std::string* reason);
