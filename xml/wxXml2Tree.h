// Linking nodes into a tree without letting libxml2 free them.
//
// libxml2's xmlAddChild and xmlAdd*Sibling merge an inserted text node into an adjacent text
// node and free it, and they do not check that the node is movable. A wrapper may hold the
// node being inserted, so the layer links through these helpers: they refuse what would break
// the tree, unlink the node from where it was, and link a text node as it is (adjacent text
// nodes are valid and serialise to the same text).
#pragma once

#include <libxml/tree.h>

/// Links the node as the parent's last child. False (nothing changed) unless the parent is an
/// element and the node can be moved under it.
bool wxXml2LinkLastChild(xmlNode* parent, xmlNode* node);
/// Links the node as the anchor's previous sibling. The anchor must have a parent: a sibling
/// chain without one would be linked nowhere and freed by nobody.
bool wxXml2LinkBefore(xmlNode* anchor, xmlNode* node);
/// Links the node as the anchor's next sibling, with the same conditions.
bool wxXml2LinkAfter(xmlNode* anchor, xmlNode* node);

/// Sets the namespace on the node and every element below it, in document order. The
/// declarations that entity references point to are not entered.
void wxXml2SetNamespaceOnSubtree(xmlNode* top, xmlNs* ns);

/// Whether a wrapper holds the object or anything inside it: for a node, itself, the nodes
/// below it, the attributes of those elements and the namespaces declared on them; for a
/// document also its DTD's declarations and its own namespaces. The object may be a node, an
/// attribute, a DTD or a document (all begin with libxml2's common node header).
bool wxXml2IsHeldAnywhere(const xmlNode* top);

/// Called when the last hold on an object inside a tree went: when the tree's top (its
/// document, or an unlinked node, attribute or DTD) is no longer held and nothing inside it
/// is, frees the whole tree.
void wxXml2FreeIfAbandoned(xmlNode* place);
