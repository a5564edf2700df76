// The directory of the running executable.
#include "ProgramDirectory.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

namespace {
wxString& Override() {
  static wxString directory;
  return directory;
}
}  // namespace

wxString GetProgramDirectory() {
  if (!Override().empty()) return Override();
  return wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
}

void OverrideProgramDirectory(const wxString& directory) { Override() = directory; }
