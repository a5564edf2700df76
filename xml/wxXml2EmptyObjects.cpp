// The empty wrappers that stand for "no object". They are defined together so that they are
// built in this order before the program's main code runs (the empty namespace has no owner,
// like the empty node it would take it from).
#include "wxXml2DTD.h"
#include "wxXml2Decl.h"
#include "wxXml2HelpWrapper.h"
#include "wxXml2Node.h"

const wxXml2Node wxXml2EmptyNode;
const wxXml2BaseNode wxXml2EmptyBaseNode;
const wxXml2Document wxXml2EmptyDoc;
const wxXml2Property wxXml2EmptyProperty;
const wxXml2Namespace wxXml2EmptyNamespace;
const wxXml2DTD wxXml2EmptyDTD;
const wxXml2ElemDecl wxXml2EmptyElemDecl;
const wxXml2AttrDecl wxXml2EmptyAttrDecl;
const wxXml2EntityDecl wxXml2EmptyEntityDecl;
const wxXml2Enumeration wxXml2EmptyEnumeration;
const wxXml2ElemContent wxXml2EmptyElemContent;
