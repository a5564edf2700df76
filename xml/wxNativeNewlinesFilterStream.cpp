// Line-end translation for documents written by the XML layer.
#include "wxNativeNewlinesFilterStream.h"

#include <wx/textbuf.h>

wxNativeNewlinesFilterStream::wxNativeNewlinesFilterStream(wxOutputStream& parent, const std::string& lineEnd)
    : wxFilterOutputStream(parent), m_lineEnd(lineEnd) {}

wxNativeNewlinesFilterStream::~wxNativeNewlinesFilterStream() = default;

std::string wxNativeNewlinesFilterStream::NativeLineEnd() { return wxString(wxTextBuffer::GetEOL()).ToStdString(); }

size_t wxNativeNewlinesFilterStream::OnSysWrite(const void* buffer, size_t size) {
  wxOutputStream& parent = *m_parent_o_stream;
  if (m_lineEnd == "\n") {
    parent.Write(buffer, size);
    const size_t written = parent.LastWrite();
    if (written < size) m_lasterror = wxSTREAM_WRITE_ERROR;
    return written;
  }

  const char* bytes = static_cast<const char*>(buffer);
  for (size_t i = 0; i < size; ++i) {
    const bool newline = bytes[i] == '\n';
    const char* out = newline ? m_lineEnd.data() : bytes + i;
    const size_t length = newline ? m_lineEnd.size() : 1;
    parent.Write(out, length);
    if (parent.LastWrite() != length) {
      m_lasterror = wxSTREAM_WRITE_ERROR;
      return i;
    }
  }
  return size;
}
