// The bytes that a typed text becomes in the protection files, the stored phrase and the
// match key: one byte a character, ISO-8859-1, nothing trimmed. The player reads those
// files and compares that key byte for byte, so a text must be stored exactly this way.
#pragma once

#include <wx/string.h>

#include <optional>
#include <string>

/// The text in ISO-8859-1; nothing when a character lies outside that set, so that the
/// caller refuses the text before anything is written.
std::optional<std::string> ToLatin1(const wxString& text);

/// The text of ISO-8859-1 bytes.
wxString FromLatin1(const std::string& bytes);
