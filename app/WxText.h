// Toolkit texts handed to the GUI-free units, which hold UTF-8.
#pragma once

#include <wx/string.h>

#include <string>

inline std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }
