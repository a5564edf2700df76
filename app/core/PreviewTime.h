// The time fields' text from the preview's position.
#pragma once

#include <cstdint>
#include <string>

/// Whole seconds of a preview position in milliseconds, fraction dropped,
/// as "%d"; the position -1 of an empty preview gives "0".
std::string SecondsFromPreviewPosition(int64_t milliseconds);
