// Loading a document: the whole input in memory, one SAX parse in recovery mode.
#include "wxXml2Document.h"

#include "wxXml2MessageCollector.h"
#include "wxXml2Utf8.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/wfstream.h>

#include <climits>
#include <cstring>
#include <vector>

bool wxXml2Document::Load(const wxString& fileName, wxString* errorText) {
  // Checked before opening: a directory opens fine as a stream on this platform, and a
  // missing file would make wxWidgets log an error of its own; the caller tells the user.
  if (!wxFileName::FileExists(fileName)) return false;
  wxLogNull quiet;
  wxFileInputStream input(fileName);
  if (!input.IsOk()) return false;
  return Load(input, errorText);
}

bool wxXml2Document::Load(wxInputStream& stream, wxString* errorText) {
  // libxml2 parses at most INT_MAX bytes from memory.
  const wxFileOffset size = stream.GetLength();
  if (size <= 0 || size > INT_MAX) {
    if (errorText) *errorText = "Invalid size";
    return false;
  }

  std::vector<char> buffer(static_cast<size_t>(size));
  stream.Read(buffer.data(), buffer.size());
  // Parse only what was read: a stream that delivers less than its size must not hand the
  // parser uninitialised bytes. Nothing read at all counts as no usable size.
  const size_t received = stream.LastRead();
  if (received == 0) {
    if (errorText) *errorText = "Invalid size";
    return false;
  }

  xmlSAXHandler handler;
  std::memset(&handler, 0, sizeof handler);
  xmlSAX2InitDefaultSAXHandler(&handler, 0);
  handler.warning = OnParseMessage;
  handler.error = OnParseMessage;
  handler.fatalError = OnParseMessage;

  DestroyIfUnlinked();

  wxXml2MessageCollector collector;
  m_obj = xmlSAXParseMemoryWithData(&handler, buffer.data(), static_cast<int>(received), 1 /* recovery */, &collector);
  AddReference();

  if (errorText) *errorText = wxXml2StringFromBytes(collector.Text());
  return m_obj && xmlDocGetRootElement(m_obj);
}

void wxXml2Document::OnParseMessage(void* context, const char* format, ...) {
  // libxml2 calls with its parser context, which carries the collector given to the parse.
  auto* parser = static_cast<xmlParserCtxt*>(context);
  va_list args;
  va_start(args, format);
  static_cast<wxXml2MessageCollector*>(parser->_private)->Append(format, args);
  va_end(args);
}
