// Lifetime, navigation and comparison of a wrapped tree node.
#include "wxXml2Node.h"

#include "wxXml2Utf8.h"

#include <cstring>

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2Node, wxXml2BaseNode);

wxXml2Node::wxXml2Node(xmlNode* node) : wxXml2BaseNode(node) {}

wxXml2Node::wxXml2Node(const wxXml2Node& other) : wxXml2BaseNode(other) {}

wxXml2Node& wxXml2Node::operator=(const wxXml2Node& other) {
  Copy(other);
  return *this;
}

wxXml2Node::~wxXml2Node() { DestroyIfUnlinked(); }

void wxXml2Node::Destroy() {
  if (m_obj) {
    xmlUnlinkNode(m_obj);
    xmlFreeNode(m_obj);
  }
  SetAsEmpty();
}

wxXml2Node wxXml2Node::GetNext() const { return wxXml2Node(m_obj ? m_obj->next : nullptr); }

wxXml2Node wxXml2Node::GetChildren() const {
  if (!m_obj || m_obj->type == XML_ENTITY_REF_NODE) return wxXml2Node();
  return wxXml2Node(m_obj->children);
}

wxXml2Property wxXml2Node::GetProperties() const {
  if (!m_obj || m_obj->type != XML_ELEMENT_NODE) return wxXml2Property();
  return wxXml2Property(m_obj->properties);
}

wxXml2Namespace wxXml2Node::GetNamespace() const { return wxXml2Namespace(m_obj ? m_obj->ns : nullptr, *this); }

wxXml2Namespace wxXml2Node::GetNamespaceDecl() const {
  if (!m_obj || m_obj->type != XML_ELEMENT_NODE) return wxXml2Namespace();
  return wxXml2Namespace(m_obj->nsDef, *this);
}

wxXml2Document wxXml2Node::GetDoc() const { return wxXml2Document(m_obj ? m_obj->doc : nullptr); }

wxString wxXml2Node::GetName() const { return m_obj ? wxXml2String(m_obj->name) : wxString(); }

wxString wxXml2Node::GetContent() const {
  if (!m_obj || m_obj->type == XML_ELEMENT_NODE) return wxString();
  return wxXml2String(m_obj->content);
}

bool wxXml2Node::Match(const wxXml2Node& other) const {
  if (!IsOk() || !other.IsOk()) return IsOk() == other.IsOk();
  if (m_obj->type != other.m_obj->type) return false;
  if (GetName().CmpNoCase(other.GetName()) != 0) return false;
  // Byte for byte; a missing content counts as an empty one.
  const char* mine = reinterpret_cast<const char*>(m_obj->type == XML_ELEMENT_NODE ? nullptr : m_obj->content);
  const char* theirs =
      reinterpret_cast<const char*>(other.m_obj->type == XML_ELEMENT_NODE ? nullptr : other.m_obj->content);
  return std::strcmp(mine ? mine : "", theirs ? theirs : "") == 0;
}

bool wxXml2Node::operator==(const wxXml2Node& other) const {
  return Match(other) && GetNamespace() == other.GetNamespace();
}
