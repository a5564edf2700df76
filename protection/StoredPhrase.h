// The secret phrase as the configuration keeps it: scrambled bytes as lower-case hex text
// under "/General/ID".
#pragma once

#include <wx/config.h>
#include <wx/string.h>

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

/// The phrase as text for the user: the bytes up to the first zero byte, read as UTF-8 (or
/// Latin-1 when they are not valid UTF-8, so that nothing is dropped).
wxString PhraseBytesToText(const std::string& phrase);

/// The bytes of a typed phrase: UTF-8, nothing trimmed.
std::string PhraseTextToBytes(const wxString& text);
