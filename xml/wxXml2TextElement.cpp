// Writing and reading element text.
#include "wxXml2TextElement.h"

#include "wxXml2Utf8.h"

void AddTextElement(wxXml2Node parent, const wxString& name, const wxString& text) {
  wxXml2Node element;
  element.CreateChild(XML_ELEMENT_NODE, parent, name);
  // xmlNodeSetContent would read "&...;" in the text as entity references and cut the text
  // at a lone "&"; adding the content keeps it as the user typed it.
  if (element.IsOk() && !text.empty()) xmlNodeAddContent(element.GetObj(), wxXml2Utf8(text));
}

wxString GetNodeText(wxXml2Node node) {
  wxString text;
  for (wxXml2Node child = node.GetChildren(); child.IsOk(); child = child.GetNext()) {
    if (child.GetObj()->type == XML_TEXT_NODE) text += child.GetContent();
  }
  return text;
}
