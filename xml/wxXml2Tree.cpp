// Safe tree linking for the wrappers.
#include "wxXml2Tree.h"

namespace {

bool IsTreeKind(const xmlNode* node) {
  switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_ENTITY_REF_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE: return true;
    default: return false;
  }
}

bool IsSelfOrAncestor(const xmlNode* candidate, const xmlNode* node) {
  for (const xmlNode* n = node; n; n = n->parent) {
    if (n == candidate) return true;
  }
  return false;
}

/// The node may be placed at the target: a tree node, not creating a cycle, and not taken
/// from another document (its names may live in that document's dictionary, and freeing them
/// with this one would be an invalid free).
bool CanMove(const xmlNode* target, const xmlNode* node) {
  return target && node && IsTreeKind(node) && !IsSelfOrAncestor(node, target) &&
         (!node->doc || node->doc == target->doc);
}

void AdoptDocument(xmlNode* node, xmlDoc* doc) {
  if (node->doc != doc) xmlSetTreeDoc(node, doc);
}

}  // namespace

bool wxXml2LinkLastChild(xmlNode* parent, xmlNode* node) {
  if (!CanMove(parent, node) || parent->type != XML_ELEMENT_NODE) return false;
  xmlUnlinkNode(node);
  if (node->type != XML_TEXT_NODE) return xmlAddChild(parent, node) == node;

  AdoptDocument(node, parent->doc);
  node->parent = parent;
  node->prev = parent->last;
  node->next = nullptr;
  if (parent->last) parent->last->next = node;
  else parent->children = node;
  parent->last = node;
  return true;
}

bool wxXml2LinkBefore(xmlNode* anchor, xmlNode* node) {
  if (!CanMove(anchor, node) || !anchor->parent) return false;
  xmlUnlinkNode(node);
  if (node->type != XML_TEXT_NODE) return xmlAddPrevSibling(anchor, node) == node;

  AdoptDocument(node, anchor->doc);
  node->parent = anchor->parent;
  node->next = anchor;
  node->prev = anchor->prev;
  if (anchor->prev) anchor->prev->next = node;
  else anchor->parent->children = node;
  anchor->prev = node;
  return true;
}

bool wxXml2LinkAfter(xmlNode* anchor, xmlNode* node) {
  if (!CanMove(anchor, node) || !anchor->parent) return false;
  xmlUnlinkNode(node);
  if (node->type != XML_TEXT_NODE) return xmlAddNextSibling(anchor, node) == node;

  AdoptDocument(node, anchor->doc);
  node->parent = anchor->parent;
  node->prev = anchor;
  node->next = anchor->next;
  if (anchor->next) anchor->next->prev = node;
  else anchor->parent->last = node;
  anchor->next = node;
  return true;
}

void wxXml2SetNamespaceOnSubtree(xmlNode* top, xmlNs* ns) {
  if (!top || !ns) return;
  xmlNode* node = top;
  for (;;) {
    xmlSetNs(node, ns);
    if (node->children && node->type != XML_ENTITY_REF_NODE) {
      node = node->children;
      continue;
    }
    while (node != top && !node->next) node = node->parent;
    if (node == top) return;
    node = node->next;
  }
}

bool wxXml2IsHeldAnywhere(const xmlNode* top) {
  if (!top) return false;
  if (top->type == XML_DOCUMENT_NODE || top->type == XML_HTML_DOCUMENT_NODE) {
    const xmlDoc* doc = reinterpret_cast<const xmlDoc*>(top);
    for (const xmlNs* ns = doc->oldNs; ns; ns = ns->next) {
      if (ns->_private) return true;
    }
  }
  const xmlNode* node = top;
  for (;;) {
    if (node->_private) return true;
    if (node->type == XML_ELEMENT_NODE) {
      for (const xmlAttr* a = node->properties; a; a = a->next) {
        if (a->_private) return true;
      }
      for (const xmlNs* ns = node->nsDef; ns; ns = ns->next) {
        if (ns->_private) return true;
      }
    }
    // Below an entity reference lies its declaration, and an attribute's children are
    // its value: neither is reachable through a wrapper.
    if (node->children && node->type != XML_ENTITY_REF_NODE && node->type != XML_ATTRIBUTE_NODE) {
      node = node->children;
      continue;
    }
    while (node != top && !node->next) node = node->parent;
    if (node == top) return false;
    node = node->next;
  }
}

void wxXml2FreeIfAbandoned(xmlNode* place) {
  xmlNode* top = place;
  while (top->parent) top = top->parent;
  // The common case: the document (or the unlinked top) is still held.
  if (top->_private || wxXml2IsHeldAnywhere(top)) return;

  switch (top->type) {
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE: xmlFreeDoc(reinterpret_cast<xmlDoc*>(top)); break;
    case XML_ATTRIBUTE_NODE: xmlFreeProp(reinterpret_cast<xmlAttr*>(top)); break;
    case XML_DTD_NODE: xmlFreeDtd(reinterpret_cast<xmlDtd*>(top)); break;
    default:
      // A parentless chain of siblings is nobody's: the linking helpers never make one.
      if (IsTreeKind(top) && !top->next && !top->prev) xmlFreeNode(top);
      break;
  }
}
