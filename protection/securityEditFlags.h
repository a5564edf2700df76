// Whether a cell of the code base grid or of the document base grid has ever been edited.
// The flags belong to the program, not to one security manager dialog: they start false
// when the program starts, are never reset, and so carry over to every later opening.
#pragma once

struct securityEditFlags {
  static bool codeBaseEdited;
  static bool documentBaseEdited;
};
