// Collection of libxml2 messages into a text.
#include "wxXml2MessageCollector.h"

#include <libxml/globals.h>

#include <cstdio>

wxXml2MessageCollector::wxXml2MessageCollector()
    : m_previousFunc(xmlGenericError), m_previousContext(xmlGenericErrorContext) {
  xmlSetGenericErrorFunc(this, OnGenericMessage);
}

wxXml2MessageCollector::~wxXml2MessageCollector() { xmlSetGenericErrorFunc(m_previousContext, m_previousFunc); }

void wxXml2MessageCollector::Append(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return;

  const size_t start = m_text.size();
  m_text.resize(start + static_cast<size_t>(length) + 1);
  std::vsnprintf(&m_text[start], static_cast<size_t>(length) + 1, format, args);
  m_text.resize(start + static_cast<size_t>(length));
}

void wxXml2MessageCollector::OnGenericMessage(void* context, const char* format, ...) {
  va_list args;
  va_start(args, format);
  static_cast<wxXml2MessageCollector*>(context)->Append(format, args);
  va_end(args);
}
