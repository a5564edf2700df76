// One admitted site of the security file manager, as the user typed it.
#pragma once

#include <wx/string.h>

struct securityEntry {
  /// A code base host or a document base address; never empty once collected.
  wxString site;
  /// The "Expire Date" cell; empty for no expiry, otherwise it passed the date rule.
  wxString expireDate;
};
