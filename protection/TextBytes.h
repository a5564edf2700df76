// The bytes that a typed text becomes in the protection files and the stored phrase: UTF-8,
// nothing trimmed or converted.
#pragma once

#include <wx/string.h>

#include <string>

inline std::string TextBytes(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}
