// The security XML writer.
#include "SecurityXmlWriter.h"

#include "wxNativeNewlinesFilterStream.h"
#include "wxXml2TextElement.h"
#include "wxXml2Utf8.h"

#include <wx/log.h>
#include <wx/wfstream.h>

void AddElementWithProperty(wxXml2Node parent, const wxString& name, const wxString& text,
                            const wxString& attributeName, const wxString& attributeValue) {
  wxXml2Node element;
  element.CreateChild(XML_ELEMENT_NODE, parent, name);
  if (!element.IsOk()) return;
  if (!attributeValue.empty()) element.AddProperty(attributeName, attributeValue);
  // Setting the content would read "&...;" as entity references and cut a document base
  // address at its first lone "&" ("page?a=1&b=2"); adding it keeps the address whole.
  if (!text.empty()) xmlNodeAddContent(element.GetObj(), wxXml2Utf8(text));
}

void WriteElements(std::vector<wxString> texts, wxString elementName, std::vector<wxString> attributeValues,
                   wxString attributeName, wxXml2Node section) {
  for (size_t i = 0; i < texts.size(); ++i) {
    const wxString value = i < attributeValues.size() ? attributeValues[i] : wxString();
    AddElementWithProperty(section, elementName, texts[i], attributeName, value);
  }
}

namespace {

void SplitEntries(const std::vector<securityEntry>& entries, std::vector<wxString>& sites,
                  std::vector<wxString>& dates) {
  for (const securityEntry& entry : entries) {
    sites.push_back(entry.site);
    dates.push_back(entry.expireDate);
  }
}

void WriteSection(wxXml2Node root, const wxString& sectionName, const wxString& elementName,
                  const std::vector<securityEntry>& entries, const wxString* mode) {
  wxXml2Node section;
  section.CreateChild(XML_ELEMENT_NODE, root, sectionName);
  if (mode) section.AddProperty("mode", *mode);
  std::vector<wxString> sites;
  std::vector<wxString> dates;
  SplitEntries(entries, sites, dates);
  WriteElements(sites, elementName, dates, "expire", section);
}

}  // namespace

bool BuildSecurityDocument(const SecurityXmlContent& content, wxXml2Document& document) {
  if (!document.Create("1.0")) return false;
  wxXml2Node root;
  root.CreateRoot(document, "security");
  if (content.hasExpireDate) AddTextElement(root, "license_expire_date", content.expireDate);
  WriteSection(root, "SECTION_CODEBASE", "codebase", content.codeBases, nullptr);
  WriteSection(root, "SECTION_DOCUMENTBASE", "documentbase", content.documentBases, &content.mode);
  document.SetRoot(root);
  return true;
}

bool SaveSecurityDocument(const wxXml2Document& document, const wxString& path) {
  wxLogNull quiet;
  wxFileOutputStream file(path);
  if (!file.IsOk()) return false;
  // The file's lines end in CR LF on every platform, as the files that sites already keep.
  wxNativeNewlinesFilterStream crlf(file, "\r\n");
  const int written = document.Save(crlf, "UTF-8", 0, 4);
  const bool closed = file.Close();
  return written != -1 && closed;
}
