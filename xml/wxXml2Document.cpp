// Lifetime and root element of a wrapped document.
#include "wxXml2Document.h"

#include "wxXml2Node.h"
#include "wxXml2Tree.h"
#include "wxXml2Utf8.h"

#include <libxml/parser.h>

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2Document, wxXml2Wrapper);

wxXml2Document::wxXml2Document(xmlDoc* doc) : m_obj(doc) { AddReference(); }

wxXml2Document::wxXml2Document(const wxXml2Document& other) : wxXml2Wrapper(), m_obj(other.m_obj) { AddReference(); }

wxXml2Document& wxXml2Document::operator=(const wxXml2Document& other) {
  Copy(other);
  return *this;
}

wxXml2Document::~wxXml2Document() { DestroyIfUnlinked(); }

void wxXml2Document::Copy(const wxXml2Document& other) {
  if (other.m_obj == m_obj) return;
  DestroyIfUnlinked();
  m_obj = other.m_obj;
  AddReference();
}

void wxXml2Document::Destroy() {
  if (m_obj) xmlFreeDoc(m_obj);
  SetAsEmpty();
}

bool wxXml2Document::Create(const wxString& version) {
  xmlInitParser();
  DestroyIfUnlinked();
  m_obj = xmlNewDoc(wxXml2Utf8(version));
  AddReference();
  return IsOk();
}

void wxXml2Document::SetRoot(const wxXml2Node& node) {
  xmlNode* root = node.GetObj();
  if (!m_obj || !root || root->type != XML_ELEMENT_NODE) return;
  // A node of another document keeps names in that document's dictionary; moving it here
  // would free them with the wrong one.
  if (root->doc && root->doc != m_obj) return;
  if (xmlDocGetRootElement(m_obj) == root) return;

  xmlNode* old = xmlDocSetRootElement(m_obj, root);
  // The replaced root leaves the tree. A wrapper that still holds it frees it when it goes;
  // without one nothing else would. While a wrapper holds anything inside it, freeing it
  // would leave that wrapper dangling, so it is then left as it is.
  if (old && old != root && !wxXml2IsHeldAnywhere(old)) xmlFreeNode(old);
}

wxXml2Node wxXml2Document::GetRoot() const { return wxXml2Node(m_obj ? xmlDocGetRootElement(m_obj) : nullptr); }
