// Collects libxml2's messages of one operation as text.
//
// libxml2 reports most parser problems through the SAX handler's warning and error entries,
// but some (input encoding conversion, I/O) go to its generic error function, which prints
// them on stderr. While a collector lives, the generic function of this thread appends to the
// collector instead; the previous function is put back when the collector goes.
#pragma once

#include <libxml/xmlerror.h>

#include <cstdarg>
#include <string>

class wxXml2MessageCollector {
 public:
  wxXml2MessageCollector();
  ~wxXml2MessageCollector();
  wxXml2MessageCollector(const wxXml2MessageCollector&) = delete;
  wxXml2MessageCollector& operator=(const wxXml2MessageCollector&) = delete;

  /// Formats one message printf-style and appends it without separator.
  void Append(const char* format, va_list args);

  /// The messages so far, as the UTF-8 bytes libxml2 wrote.
  const std::string& Text() const { return m_text; }

 private:
  static void OnGenericMessage(void* context, const char* format, ...);

  std::string m_text;
  xmlGenericErrorFunc m_previousFunc;
  void* m_previousContext;
};
