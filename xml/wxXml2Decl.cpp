// Lifetime of wrapped DTD declarations (freed by the base node, which knows their kinds).
#include "wxXml2Decl.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2ElemDecl, wxXml2BaseNode);
wxIMPLEMENT_DYNAMIC_CLASS(wxXml2AttrDecl, wxXml2BaseNode);
wxIMPLEMENT_DYNAMIC_CLASS(wxXml2EntityDecl, wxXml2BaseNode);

wxXml2ElemDecl::wxXml2ElemDecl(xmlElement* decl) : wxXml2BaseNode(reinterpret_cast<xmlNode*>(decl)) {}

wxXml2ElemDecl& wxXml2ElemDecl::operator=(const wxXml2ElemDecl& other) {
  Copy(other);
  return *this;
}

wxXml2ElemDecl::~wxXml2ElemDecl() { DestroyIfUnlinked(); }

wxXml2AttrDecl::wxXml2AttrDecl(xmlAttribute* decl) : wxXml2BaseNode(reinterpret_cast<xmlNode*>(decl)) {}

wxXml2AttrDecl& wxXml2AttrDecl::operator=(const wxXml2AttrDecl& other) {
  Copy(other);
  return *this;
}

wxXml2AttrDecl::~wxXml2AttrDecl() { DestroyIfUnlinked(); }

wxXml2EntityDecl::wxXml2EntityDecl(xmlEntity* decl) : wxXml2BaseNode(reinterpret_cast<xmlNode*>(decl)) {}

wxXml2EntityDecl& wxXml2EntityDecl::operator=(const wxXml2EntityDecl& other) {
  Copy(other);
  return *this;
}

wxXml2EntityDecl::~wxXml2EntityDecl() { DestroyIfUnlinked(); }
