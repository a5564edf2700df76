// The security XML reader.
#include "SecurityXmlReader.h"

#include "wxXml2Node.h"
#include "wxXml2TextElement.h"

namespace {

elementRecord MakeRecord(const wxXml2Node& node) {
  elementRecord record;
  for (wxXml2Property property = node.GetProperties(); property.IsOk(); property = property.GetNext())
    record.attributes.emplace_back(property.GetName(), property.GetValue());
  record.text = GetNodeText(node);
  return record;
}

wxXml2Node NextElementSibling(const wxXml2Node& node) {
  wxXml2Node next = node.GetNext();
  while (next.IsOk() && next.GetObj()->type != XML_ELEMENT_NODE) next = next.GetNext();
  return next;
}

}  // namespace

std::vector<elementRecord> ReadElements(const wxString& name, const wxXml2Document& document) {
  std::vector<elementRecord> records;
  const wxXml2Node root = document.GetRoot();
  for (wxXml2Node node = root.Find(name, "", 0, true, true); node.IsOk(); node = NextElementSibling(node))
    records.push_back(MakeRecord(node));
  return records;
}
