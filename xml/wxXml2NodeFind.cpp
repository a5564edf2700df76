// Depth-first search for an element by name.
#include "wxXml2Node.h"

namespace {

/// Walks the children of the node in document order, each followed by its own subtree. The
/// counter is a copy: what a subtree uses up does not reach the following siblings.
wxXml2Node FindBelow(const wxXml2Node& node, const wxXml2Node& pattern, int counter, bool fullEquality,
                     bool recursive) {
  for (wxXml2Node child = node.GetChildren(); child.IsOk(); child = child.GetNext()) {
    const bool matches = fullEquality ? child == pattern : child.Match(pattern);
    if (matches && --counter < 0) return child;
    if (recursive) {
      wxXml2Node found = FindBelow(child, pattern, counter, fullEquality, recursive);
      if (found.IsOk()) return found;
    }
  }
  return wxXml2EmptyNode;
}

}  // namespace

wxXml2Node wxXml2Node::Find(const wxString& name, const wxString& content, int index, bool fullEquality,
                            bool recursive) const {
  if (!IsOk()) return wxXml2EmptyNode;
  // The pattern is an unlinked element: it frees itself when it goes. The document wrapper
  // goes after it.
  const wxXml2Document doc = GetDoc();
  wxXml2Node pattern;
  pattern.CreateTemp(XML_ELEMENT_NODE, doc, name, content);
  return FindBelow(*this, pattern, index, fullEquality, recursive);
}
