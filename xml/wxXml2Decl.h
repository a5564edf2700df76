// Wrappers of the declarations inside a DTD: element, attribute and entity declarations.
//
// They are nodes of the DTD's child list, so they share the base node's count and links. A
// declaration is always part of its DTD, which frees it; these wrappers only make it
// reachable with the same lifetime rules as every other node.
#pragma once

#include "wxXml2BaseNode.h"

#include <libxml/entities.h>
#include <libxml/tree.h>

class wxXml2ElemDecl : public wxXml2BaseNode {
  wxDECLARE_DYNAMIC_CLASS(wxXml2ElemDecl);

 public:
  wxXml2ElemDecl() = default;
  explicit wxXml2ElemDecl(xmlElement* decl);
  wxXml2ElemDecl(const wxXml2ElemDecl& other) = default;
  wxXml2ElemDecl& operator=(const wxXml2ElemDecl& other);
  ~wxXml2ElemDecl() override;
};

class wxXml2AttrDecl : public wxXml2BaseNode {
  wxDECLARE_DYNAMIC_CLASS(wxXml2AttrDecl);

 public:
  wxXml2AttrDecl() = default;
  explicit wxXml2AttrDecl(xmlAttribute* decl);
  wxXml2AttrDecl(const wxXml2AttrDecl& other) = default;
  wxXml2AttrDecl& operator=(const wxXml2AttrDecl& other);
  ~wxXml2AttrDecl() override;
};

class wxXml2EntityDecl : public wxXml2BaseNode {
  wxDECLARE_DYNAMIC_CLASS(wxXml2EntityDecl);

 public:
  wxXml2EntityDecl() = default;
  explicit wxXml2EntityDecl(xmlEntity* decl);
  wxXml2EntityDecl(const wxXml2EntityDecl& other) = default;
  wxXml2EntityDecl& operator=(const wxXml2EntityDecl& other);
  ~wxXml2EntityDecl() override;
};

extern const wxXml2ElemDecl wxXml2EmptyElemDecl;
extern const wxXml2AttrDecl wxXml2EmptyAttrDecl;
extern const wxXml2EntityDecl wxXml2EmptyEntityDecl;
