// Writing the security manager's lists as a security XML file, so that a site's protection
// data can be edited again later.
#pragma once

#include "securityEntry.h"
#include "wxXml2Document.h"
#include "wxXml2Node.h"

#include <vector>

/// What a security XML file holds.
struct SecurityXmlContent {
  /// The global expiry date ("%d-%m-%Y"), written only when enabled.
  bool hasExpireDate = false;
  wxString expireDate;
  std::vector<securityEntry> codeBases;
  std::vector<securityEntry> documentBases;
  /// The document base mode: "Internal" or "External".
  wxString mode;
};

/// A new last child element of the parent; the attribute only when its value is not empty,
/// the text only when it is not empty (taken literally: "&" and "<" stay characters).
void AddElementWithProperty(wxXml2Node parent, const wxString& name, const wxString& text,
                            const wxString& attributeName, const wxString& attributeValue);

/// For each index i of texts: AddElementWithProperty (section, elementName, texts[i],
/// attributeName, attributeValues[i]). attributeValues has at least as many entries as texts.
void WriteElements(std::vector<wxString> texts, wxString elementName, std::vector<wxString> attributeValues,
                   wxString attributeName, wxXml2Node section);

/// Replaces the document by the security XML of the content: the root "security", then
/// "license_expire_date" when enabled, "SECTION_CODEBASE" with a "codebase" per entry and
/// "SECTION_DOCUMENTBASE" (attribute "mode") with a "documentbase" per entry. False when
/// libxml2 cannot create the document.
bool BuildSecurityDocument(const SecurityXmlContent& content, wxXml2Document& document);

/// Writes the document in UTF-8, each element on a line of its own, lines ending in CR LF
/// whatever the platform. True when the file was written whole.
bool SaveSecurityDocument(const wxXml2Document& document, const wxString& path);
