// Wrapper of a libxml2 tree node (element, text, CDATA, entity reference, processing
// instruction or comment): building, navigation, comparison and search.
#pragma once

#include "wxXml2BaseNode.h"
#include "wxXml2Document.h"
#include "wxXml2Namespace.h"
#include "wxXml2Property.h"

#include <wx/string.h>

class wxXml2Node;
/// Stands for "no node": the default of the building operations and the result of a
/// navigation or search that finds nothing.
extern const wxXml2Node wxXml2EmptyNode;

class wxXml2Node : public wxXml2BaseNode {
  wxDECLARE_DYNAMIC_CLASS(wxXml2Node);

 public:
  wxXml2Node() = default;
  explicit wxXml2Node(xmlNode* node);
  wxXml2Node(const wxXml2Node& other);
  wxXml2Node& operator=(const wxXml2Node& other);
  ~wxXml2Node() override;

  /// Unlinks the node and frees it with its subtree.
  void Destroy() override;

  // Building. Each drops the node held so far first; a type that cannot be built leaves
  // the wrapper empty. Wrappers are taken by value, so a parent or sibling may be this
  // wrapper itself.

  /// Builds a node of the type (element, text, CDATA, processing instruction or comment)
  /// under the parent (or, without one, in the document but unlinked), holds it, then adds
  /// the property, the previous and next siblings and the child. A text whose content is an
  /// entity reference ("&name;") becomes an entity reference node (inside an element when
  /// a name is given); a text with a name becomes an element holding the text.
  void Build(xmlElementType type, wxXml2Node parent, wxXml2Document document, wxXml2Namespace ns, const wxString& name,
             const wxString& content, wxXml2Property property, wxXml2Node next, wxXml2Node previous,
             wxXml2Node children);
  /// A new element made the document's root.
  void CreateRoot(wxXml2Document document, const wxString& name, wxXml2Namespace ns = wxXml2EmptyNamespace,
                  wxXml2Property property = wxXml2EmptyProperty);
  /// A new last child of the parent.
  void CreateChild(xmlElementType type, wxXml2Node parent, const wxString& name, const wxString& content = wxString(),
                   wxXml2Namespace ns = wxXml2EmptyNamespace, wxXml2Property property = wxXml2EmptyProperty,
                   wxXml2Node next = wxXml2EmptyNode);
  /// A node of the document that is linked nowhere (freed with its last wrapper).
  void CreateTemp(xmlElementType type, wxXml2Document document, const wxString& name,
                  const wxString& content = wxString(), wxXml2Namespace ns = wxXml2EmptyNamespace,
                  wxXml2Property property = wxXml2EmptyProperty);

  /// Moves the child to the end of this element's children, then gives the child and its
  /// subtree this node's namespace (or the first one declared on it), when it has one.
  /// Nothing happens unless this is an element and the child is a tree node that is not
  /// this node or one of its ancestors and belongs to this document or to none.
  void AddChild(wxXml2Node child);
  /// A new attribute on this node (empty when this wrapper is).
  wxXml2Property AddProperty(const wxString& name, const wxString& value);
  /// Sets on this node the attribute named like the property to its value, replacing one of
  /// that name.
  void AddProperty(wxXml2Property property);

  // Navigation: a new wrapper, empty (or an empty string) when there is nothing.

  wxXml2Node GetNext() const;
  /// The first child; an entity reference has none (libxml2 points it at the declaration).
  wxXml2Node GetChildren() const;
  wxXml2Property GetProperties() const;
  wxXml2Namespace GetNamespace() const;
  wxXml2Namespace GetNamespaceDecl() const;
  wxXml2Document GetDoc() const;
  wxString GetName() const;
  /// The node's own content (text, comment, CDATA); empty for an element.
  wxString GetContent() const;

  // Comparison.

  /// Both empty; or names equal ignoring case, contents equal exactly and the same type.
  bool Match(const wxXml2Node& other) const;
  /// Match and equal namespaces.
  bool operator==(const wxXml2Node& other) const;
  bool operator!=(const wxXml2Node& other) const { return !(*this == other); }

  /// The index-th element (from 0) below this node, depth first in document order, whose
  /// name equals the name ignoring case; with full equality also without a namespace. The
  /// content takes no part (elements have none of their own). Without recursion only the
  /// children are searched. A match's subtree is searched with the count left after it,
  /// and what that subtree uses up is not carried on to the following siblings.
  wxXml2Node Find(const wxString& name, const wxString& content = wxString(), int index = 0, bool fullEquality = true,
                  bool recursive = true) const;
};
