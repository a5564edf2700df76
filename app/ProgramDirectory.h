// The directory of the running executable: default_streams.xml and the
// updater lie there.
#pragma once

#include <wx/string.h>

/// The executable's directory, without a trailing '/'.
wxString GetProgramDirectory();
/// Puts another directory in its place (tests); empty goes back to the real one.
void OverrideProgramDirectory(const wxString& directory);
