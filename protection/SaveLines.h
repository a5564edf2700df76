// Writing a LineList to its target byte for byte.
#pragma once

#include "LineList.h"

#include <wx/string.h>

/// The only target kind: a file.
constexpr int kLinesToFile = 0;

/// Writes the bytes of every line in order (each with its CR LF, nothing added or converted)
/// to the file at the path, replacing one that exists. False when the target kind is not a
/// file (nothing is written), or when the file cannot be opened, written whole or closed.
bool SaveLines(int targetKind, const wxString& path, const LineList& lines);
