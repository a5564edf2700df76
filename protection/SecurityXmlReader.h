// Reading a security XML file back into the security manager's lists.
#pragma once

#include "wxXml2Document.h"

#include <utility>
#include <vector>

/// What the reader takes from one element.
struct elementRecord {
  /// The element's text children joined in order; empty when none.
  wxString text;
  /// Every attribute of the element as (name, value), in document order.
  std::vector<std::pair<wxString, wxString>> attributes;
};

/// The first element of that name (ignoring case) anywhere below the root, followed by each
/// of its following element siblings, whatever their names. Text, comments and other nodes
/// between the elements are stepped over, so a file written on one line reads like one
/// written with a line per element. The root's own name plays no part.
std::vector<elementRecord> ReadElements(const wxString& name, const wxXml2Document& document);
