// Lifetime and plain navigation of a wrapped libxml2 node of any kind.
#include "wxXml2BaseNode.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2BaseNode, wxXml2Wrapper);

wxXml2BaseNode::wxXml2BaseNode(xmlNode* node) : m_obj(node) { AddReference(); }

wxXml2BaseNode::wxXml2BaseNode(const wxXml2BaseNode& other) : wxXml2Wrapper(), m_obj(other.m_obj) { AddReference(); }

wxXml2BaseNode& wxXml2BaseNode::operator=(const wxXml2BaseNode& other) {
  Copy(other);
  return *this;
}

wxXml2BaseNode::~wxXml2BaseNode() { DestroyIfUnlinked(); }

void wxXml2BaseNode::Copy(const wxXml2BaseNode& other) {
  // Taking the node already held (self-assignment among them) changes nothing; dropping
  // first could free the node of a last holder.
  if (other.m_obj == m_obj) return;
  DestroyIfUnlinked();
  m_obj = other.m_obj;
  AddReference();
}

void wxXml2BaseNode::Destroy() {
  if (m_obj) {
    // A bare xmlFree would release only the node's own structure and leak its name,
    // content, attributes and children, so each kind goes to the libxml2 function that
    // frees all of it.
    switch (m_obj->type) {
      case XML_DOCUMENT_NODE:
      case XML_HTML_DOCUMENT_NODE: xmlFreeDoc(reinterpret_cast<xmlDoc*>(m_obj)); break;
      case XML_ELEMENT_DECL:
      case XML_ATTRIBUTE_DECL:
      case XML_ENTITY_DECL:
        // libxml2 frees declarations only with their DTD; a loose one has no other owner.
        xmlFree(m_obj);
        break;
      default:
        xmlUnlinkNode(m_obj);
        xmlFreeNode(m_obj);
        break;
    }
  }
  SetAsEmpty();
}

bool wxXml2BaseNode::IsUnlinked() const { return !m_obj || (!m_obj->parent && !m_obj->next && !m_obj->prev); }

wxXml2BaseNode wxXml2BaseNode::GetNext() const { return wxXml2BaseNode(m_obj ? m_obj->next : nullptr); }

wxXml2BaseNode wxXml2BaseNode::GetChildren() const {
  // An entity reference's children field points at the entity's declaration in the DTD,
  // which is not a child in the tree.
  if (!m_obj || m_obj->type == XML_ENTITY_REF_NODE) return wxXml2BaseNode();
  return wxXml2BaseNode(m_obj->children);
}
