// Reading and writing the stored secret phrase.
#include "StoredPhrase.h"

#include "PhraseScrambling.h"
#include "Latin1Text.h"
#include "keAlloc.h"
#include "keBytes.h"

#include <wx/log.h>

#include <memory>
#include <new>
#include <vector>

const char* const kStoredPhraseKey = "/General/ID";

namespace {

struct KeFreeDeleter {
  void operator()(void* pointer) const { keFree(pointer); }
};

}  // namespace

std::string ReadStoredPhrase(const wxConfigBase& config) {
  wxString stored;
  config.Read(kStoredPhraseKey, &stored, wxString());
  // Anything but hex digits was not written by this program; HexToBytes reads it as it
  // reads any text, and the match key then simply does not match.
  const std::string hex = stored.ToStdString();
  const int length = static_cast<int>(hex.size());
  std::unique_ptr<uint8_t, KeFreeDeleter> bytes(HexToBytes(hex.c_str(), length));
  if (!bytes) throw std::bad_alloc();  // the engine's heap answers a shortage with null
  const int n = length / 2;
  UnscramblePhrase(bytes.get(), n);
  return std::string(reinterpret_cast<const char*>(bytes.get()), static_cast<size_t>(n));
}

bool WriteStoredPhrase(wxConfigBase& config, const std::string& phrase) {
  std::vector<uint8_t> bytes(phrase.begin(), phrase.end());
  const int n = static_cast<int>(bytes.size());
  ScramblePhrase(bytes.data(), n);
  std::unique_ptr<char, KeFreeDeleter> hex(BytesToHex(bytes.data(), n));
  if (!hex) throw std::bad_alloc();
  // The dialog tells the user; the configuration's own error boxes would come on top.
  wxLogNull quiet;
  wxString previous;
  const bool hadPrevious = config.Read(kStoredPhraseKey, &previous);
  if (config.Write(kStoredPhraseKey, wxString::FromAscii(hex.get())) && config.Flush()) return true;
  // The user is told that the phrase was not saved: security files made later in this
  // session must not be sealed with it all the same.
  if (hadPrevious) config.Write(kStoredPhraseKey, previous);
  else config.DeleteEntry(kStoredPhraseKey, false);
  return false;
}

wxString PhraseBytesToText(const std::string& phrase) { return FromLatin1(phrase.substr(0, phrase.find('\0'))); }

std::optional<std::string> PhraseTextToBytes(const wxString& text) { return ToLatin1(text); }
