// libFuzzer target: loads arbitrary bytes as a document from memory, then walks, searches
// and saves what recovery built, so that every operation meets malformed trees.
#include "wxXml2Node.h"
#include "wxXml2TextElement.h"

#include <wx/mstream.h>

#include <cstddef>
#include <cstdint>

namespace {

/// Visits every node below the given one through the wrappers, as the application's readers
/// do, bounded in depth (libxml2 itself refuses deeper nesting than this).
void Walk(const wxXml2Node& node, int depth) {
  if (depth > 300) return;
  for (wxXml2Node child = node.GetChildren(); child.IsOk(); child = child.GetNext()) {
    (void)child.GetName();
    (void)child.GetContent();
    (void)child.GetNamespace().GetURI();
    for (wxXml2Property p = child.GetProperties(); p.IsOk(); p = p.GetNext()) (void)(p.GetName() + p.GetValue());
    (void)child.Match(node);
    (void)GetNodeText(child);
    Walk(child, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  wxXml2Document doc;
  wxMemoryInputStream input(data, size);
  wxString errors;
  if (!doc.Load(input, &errors)) return 0;

  const wxXml2Node root = doc.GetRoot();
  Walk(root, 0);
  (void)root.Find("stream", "", 0, true, true);
  (void)root.Find("a", "", 1, false, true);

  wxMemoryOutputStream output;
  (void)doc.Save(output, "UTF-8", 3, 4);

  // Reloading what was saved must work on any tree recovery built.
  wxMemoryInputStream saved(output);
  wxXml2Document again;
  (void)again.Load(saved);
  return 0;
}
