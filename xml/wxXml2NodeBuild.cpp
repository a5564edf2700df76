// Building tree nodes and adding children and attributes.
#include "wxXml2Node.h"

#include "wxXml2Tree.h"
#include "wxXml2Utf8.h"

namespace {

/// "&name;" (or a character reference "&#38;", "&#x26;"): a text that stands for an entity.
/// Anything else between "&" and ";" would be written out as a reference that no reader can
/// parse, so such a text stays a text.
bool IsEntityReference(const wxString& content) {
  if (content.length() < 3 || !content.StartsWith("&") || !content.EndsWith(";")) return false;
  const wxString inner = content.Mid(1, content.length() - 2);
  if (inner.StartsWith("#")) {
    const bool hex = inner.length() > 1 && (inner[1] == 'x');
    const wxString digits = inner.Mid(hex ? 2 : 1);
    if (digits.empty()) return false;
    for (const wxUniChar c : digits) {
      const bool digit = c >= '0' && c <= '9';
      const bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      if (!digit && !(hex && hexLetter)) return false;
    }
    return true;
  }
  return xmlValidateName(wxXml2Utf8(inner), 0) == 0;
}

}  // namespace

void wxXml2Node::Build(xmlElementType type, wxXml2Node parent, wxXml2Document document, wxXml2Namespace ns,
                       const wxString& name, const wxString& content, wxXml2Property property, wxXml2Node next,
                       wxXml2Node previous, wxXml2Node children) {
  DestroyIfUnlinked();

  xmlNode* const parentNode = parent.GetObj();
  xmlDoc* const doc = document.GetObj();
  xmlNs* const nsObj = ns.GetObj();
  const wxXml2Utf8 nameText(name);
  const wxXml2Utf8 contentText(content);

  // Where the new node goes once this wrapper holds it: held first, a node whose link is
  // refused stays with this wrapper, which frees it.
  enum class Placement { AsCreated, LastChildOfParent, StartOfDocument };
  Placement placement = Placement::AsCreated;
  xmlNode* created = nullptr;
  xmlDoc* piDocument = nullptr;

  switch (type) {
    case XML_ELEMENT_NODE:
      created = parentNode ? xmlNewChild(parentNode, nsObj, nameText, nullptr)
                           : xmlNewDocRawNode(doc, nsObj, nameText, nullptr);
      break;

    case XML_TEXT_NODE:
      if (IsEntityReference(content) && !name.empty()) {
        // An element holding the entity reference.
        Build(XML_ELEMENT_NODE, parent, document, ns, name, wxString(), property, next, previous, children);
        if (IsOk()) {
          wxXml2Node reference;
          reference.Build(XML_TEXT_NODE, wxXml2EmptyNode, GetDoc(), ns, wxString(), content, wxXml2EmptyProperty,
                          wxXml2EmptyNode, wxXml2EmptyNode, wxXml2EmptyNode);
          AddChild(reference);
        }
        return;
      }
      if (IsEntityReference(content)) {
        // Under a parent it goes where a plain text would: the parent's last child.
        created = xmlNewReference(doc ? doc : (parentNode ? parentNode->doc : nullptr), contentText);
        wxXml2SetNamespaceOnSubtree(created, nsObj);
        if (parentNode) placement = Placement::LastChildOfParent;
      } else if (!name.empty()) {
        created = parentNode ? xmlNewTextChild(parentNode, nsObj, nameText, contentText)
                             : xmlNewDocRawNode(doc, nsObj, nameText, contentText);
      } else if (parentNode) {
        created = xmlNewText(contentText);
        placement = Placement::LastChildOfParent;
      } else {
        created = xmlNewDocText(doc, contentText);
      }
      break;

    case XML_CDATA_SECTION_NODE:
      if (parentNode) {
        created = xmlNewChild(parentNode, nsObj, nameText, nullptr);
        if (created) {
          created->type = XML_CDATA_SECTION_NODE;
          xmlNodeSetContent(created, contentText);
        }
      } else {
        // Without a parent: a CDATA section of the document, linked nowhere.
        created = xmlNewCDataBlock(doc, contentText, xmlStrlen(contentText));
      }
      break;

    case XML_PI_NODE:
      // Without a document, the parent's; with neither, an instruction linked nowhere.
      created = xmlNewPI(nameText, contentText);
      piDocument = doc ? doc : (parentNode ? parentNode->doc : nullptr);
      if (piDocument) placement = Placement::StartOfDocument;
      break;

    case XML_COMMENT_NODE:
      if (parentNode) {
        created = xmlNewComment(contentText);
        placement = Placement::LastChildOfParent;
      } else {
        created = xmlNewDocComment(doc, contentText);
      }
      break;

    default: break;
  }

  if (!created) return;
  m_obj = created;
  AddReference();

  if (placement == Placement::LastChildOfParent) {
    parent.AddChild(*this);
  } else if (placement == Placement::StartOfDocument) {
    // Before the document's first child, so that it precedes the root element.
    if (piDocument->children) xmlAddPrevSibling(piDocument->children, created);
    else xmlAddChild(reinterpret_cast<xmlNode*>(piDocument), created);
  }

  if (property.IsOk()) AddProperty(property);
  if (previous.IsOk()) wxXml2LinkBefore(m_obj, previous.GetObj());
  if (next.IsOk()) wxXml2LinkAfter(m_obj, next.GetObj());
  if (children.IsOk()) AddChild(children);
}

void wxXml2Node::CreateRoot(wxXml2Document document, const wxString& name, wxXml2Namespace ns,
                            wxXml2Property property) {
  Build(XML_ELEMENT_NODE, wxXml2EmptyNode, document, ns, name, wxString(), property, wxXml2EmptyNode, wxXml2EmptyNode,
        wxXml2EmptyNode);
  document.SetRoot(*this);
}

void wxXml2Node::CreateChild(xmlElementType type, wxXml2Node parent, const wxString& name, const wxString& content,
                             wxXml2Namespace ns, wxXml2Property property, wxXml2Node next) {
  Build(type, parent, wxXml2EmptyDoc, ns, name, content, property, next, wxXml2EmptyNode, wxXml2EmptyNode);
}

void wxXml2Node::CreateTemp(xmlElementType type, wxXml2Document document, const wxString& name, const wxString& content,
                            wxXml2Namespace ns, wxXml2Property property) {
  Build(type, wxXml2EmptyNode, document, ns, name, content, property, wxXml2EmptyNode, wxXml2EmptyNode,
        wxXml2EmptyNode);
}

void wxXml2Node::AddChild(wxXml2Node child) {
  if (!IsOk() || !child.IsOk() || !wxXml2LinkLastChild(m_obj, child.GetObj())) return;

  wxXml2Namespace inherited = GetNamespace();
  if (!inherited.IsOk()) inherited = GetNamespaceDecl();
  wxXml2SetNamespaceOnSubtree(child.GetObj(), inherited.GetObj());
}

wxXml2Property wxXml2Node::AddProperty(const wxString& name, const wxString& value) {
  if (!IsOk() || m_obj->type != XML_ELEMENT_NODE) return wxXml2Property();
  return wxXml2Property(xmlNewProp(m_obj, wxXml2Utf8(name), wxXml2Utf8(value)));
}

void wxXml2Node::AddProperty(wxXml2Property property) {
  if (!IsOk() || m_obj->type != XML_ELEMENT_NODE || !property.IsOk()) return;
  xmlSetProp(m_obj, wxXml2Utf8(property.GetName()), wxXml2Utf8(property.GetValue()));
}
