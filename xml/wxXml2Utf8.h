// Text conversion at the libxml2 boundary.
//
// wxWidgets is built for Unicode here (wxString holds wide characters) while libxml2 keeps every
// name, content and message as UTF-8 bytes. Every text that enters or leaves libxml2 passes
// through these helpers, so the layer converts in exactly one way: UTF-8 in both directions.
#pragma once

#include <libxml/xmlstring.h>
#include <wx/buffer.h>
#include <wx/string.h>

#include <string>

/// A wxString as UTF-8 for a libxml2 call. The bytes live as long as this object, which as a
/// temporary argument means until the end of the call's full expression.
class wxXml2Utf8 {
 public:
  explicit wxXml2Utf8(const wxString& text) : m_bytes(text.utf8_str()) {}

  operator const xmlChar*() const { return reinterpret_cast<const xmlChar*>(m_bytes.data()); }
  const char* c_str() const { return m_bytes.data(); }

 private:
  wxScopedCharBuffer m_bytes;
};

/// A libxml2 text as wxString; null gives the empty string.
inline wxString wxXml2String(const xmlChar* text) {
  return text ? wxString::FromUTF8(reinterpret_cast<const char*>(text)) : wxString();
}

/// Bytes collected from libxml2 (its messages quote the input) as wxString. libxml2 normally
/// hands out valid UTF-8; should a message carry other bytes, they are read as Latin-1 rather
/// than dropping the whole text.
inline wxString wxXml2StringFromBytes(const std::string& bytes) {
  if (bytes.empty()) return wxString();
  const wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
  if (!text.empty()) return text;
  return wxString(bytes.data(), wxConvISO8859_1, bytes.size());
}
