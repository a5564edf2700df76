// The secret phrase as the configuration keeps it: scrambled bytes as lower-case hex text
// under "/General/ID".
#pragma once

#include <wx/config.h>
#include <wx/string.h>

#include <optional>
#include <string>

/// Full path of the key that holds the scrambled phrase.
extern const char* const kStoredPhraseKey;

/// The phrase bytes: the key's hex text decoded (half its length, rounded down) and
/// unscrambled. Empty when the key is absent or empty. These are exactly the bytes that
/// seal a security file, zero bytes included.
std::string ReadStoredPhrase(const wxConfigBase& config);

/// Scrambles the bytes, writes them as 2n hex characters and flushes the configuration;
/// false when the configuration refuses either, and the phrase read stays the one before.
bool WriteStoredPhrase(wxConfigBase& config, const std::string& phrase);

/// The phrase as text for the user: the bytes up to the first zero byte, read as ISO-8859-1.
wxString PhraseBytesToText(const std::string& phrase);

/// The bytes of a typed phrase: ISO-8859-1, nothing trimmed; nothing when a character lies
/// outside that set.
std::optional<std::string> PhraseTextToBytes(const wxString& text);
