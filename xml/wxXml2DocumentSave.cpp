// Saving a document through a wxWidgets output stream.
#include "wxXml2Document.h"

#include "wxNativeNewlinesFilterStream.h"
#include "wxXml2MessageCollector.h"
#include "wxXml2Utf8.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlsave.h>
#include <wx/log.h>
#include <wx/wfstream.h>

#include <cstring>
#include <memory>

namespace {

/// libxml2's formatting settings are process-wide (per thread); a save changes them only for
/// its own duration: keep-blanks, the tree indentation string and the indentation switch
/// (which xmlKeepBlanksDefault(0) turns on as a side effect).
class FormattingScope {
 public:
  FormattingScope(bool indent, int step)
      : m_indentTreeOutput(xmlIndentTreeOutput), m_keepBlanks(xmlKeepBlanksDefault(indent ? 0 : 1)) {
    if (indent && step >= 1 && step < static_cast<int>(sizeof m_indent)) {
      std::memset(m_indent, ' ', static_cast<size_t>(step));
      m_indent[step] = '\0';
      m_previousIndent = xmlTreeIndentString;
      xmlTreeIndentString = m_indent;
      m_replacedIndent = true;
    }
  }

  ~FormattingScope() {
    xmlKeepBlanksDefault(m_keepBlanks);
    xmlIndentTreeOutput = m_indentTreeOutput;
    if (m_replacedIndent) xmlTreeIndentString = m_previousIndent;
  }

  FormattingScope(const FormattingScope&) = delete;
  FormattingScope& operator=(const FormattingScope&) = delete;

 private:
  int m_indentTreeOutput;
  int m_keepBlanks;
  char m_indent[32] = {};  // at most 31 spaces and the terminating NUL
  const char* m_previousIndent = nullptr;
  bool m_replacedIndent = false;
};

int WriteToStream(void* context, const char* buffer, int length) {
  auto* target = static_cast<wxOutputStream*>(context);
  target->Write(buffer, static_cast<size_t>(length));
  // libxml2 takes a short count as success, so anything less than the whole block is
  // reported as the failure it is.
  return target->LastWrite() == static_cast<size_t>(length) ? length : -1;
}

bool HasEncoding(const wxString& encoding) {
  if (encoding.empty()) return true;
  xmlCharEncodingHandler* handler = xmlFindCharEncodingHandler(wxXml2Utf8(encoding).c_str());
  if (!handler) return false;
  xmlCharEncCloseFunc(handler);
  return true;
}

}  // namespace

bool wxXml2Document::Save(const wxString& fileName, const wxString& encoding, long flags, int indentStep) const {
  // Nothing to write is known before the file is opened, which would truncate it.
  if (!IsOk() || !HasEncoding(encoding)) return false;
  wxLogNull quiet;
  wxFileOutputStream output(fileName);
  if (!output.IsOk()) return false;
  const int written = Save(output, encoding, flags, indentStep);
  const bool closed = output.Close();
  return written != -1 && closed;
}

int wxXml2Document::Save(wxOutputStream& stream, const wxString& encoding, long flags, int indentStep) const {
  if (!IsOk()) return -1;
  xmlInitParser();

  const wxXml2Utf8 encodingName(encoding);
  xmlCharEncodingHandler* handler = nullptr;
  if (!encoding.empty()) {
    // Unknown to libxml2: it would write nothing and still count the save as done.
    handler = xmlFindCharEncodingHandler(encodingName.c_str());
    if (!handler) return -1;
  }

  std::unique_ptr<wxNativeNewlinesFilterStream> filter;
  wxOutputStream* target = &stream;
  if (flags & wxXML2DOC_USE_NATIVE_NEWLINES) {
    filter = std::make_unique<wxNativeNewlinesFilterStream>(stream);
    target = filter.get();
  }

  xmlOutputBuffer* output = xmlOutputBufferCreateIO(WriteToStream, nullptr, target, handler);
  if (!output) {
    if (handler) xmlCharEncCloseFunc(handler);
    return -1;
  }

  // libxml2's write-error messages go to stderr otherwise; the result says it all.
  wxXml2MessageCollector quiet;
  FormattingScope formatting((flags & wxXML2DOC_USE_INDENTATION) != 0, indentStep);
  xmlSubstituteEntitiesDefault(0);
  // Closes the output buffer (and with it the encoding handler).
  return xmlSaveFormatFileTo(output, m_obj, encoding.empty() ? nullptr : encodingName.c_str(), 1);
}
