// Writing the protection files.
#include "SaveLines.h"

#include <wx/ffile.h>
#include <wx/log.h>

bool SaveLines(int targetKind, const wxString& path, const LineList& lines) {
  if (targetKind != kLinesToFile) return false;
  // The caller tells the user; the library's own error boxes would come on top.
  wxLogNull quiet;
  wxFFile file(path, "wb");
  if (!file.IsOpened()) return false;
  bool written = true;
  for (size_t i = 0; i < lines.Count() && written; ++i) {
    const std::string& line = lines.GetLine(i);
    written = file.Write(line.data(), line.size()) == line.size();
  }
  const bool flushed = file.Flush();
  const bool closed = file.Close();
  return written && flushed && closed;
}
