// Typed texts to ISO-8859-1 bytes and back.
#include "Latin1Text.h"

std::optional<std::string> ToLatin1(const wxString& text) {
  std::string bytes;
  bytes.reserve(text.length());
  for (const wxUniChar c : text) {
    const wxUint32 code = c.GetValue();
    if (code > 0xFF) return std::nullopt;
    bytes += static_cast<char>(code);
  }
  return bytes;
}

wxString FromLatin1(const std::string& bytes) { return wxString(bytes.data(), wxConvISO8859_1, bytes.size()); }
