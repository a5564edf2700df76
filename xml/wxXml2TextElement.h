// Elements that hold a text: how the application writes and reads its XML values.
#pragma once

#include "wxXml2Node.h"

/// Appends to the parent an element with the name; a non-empty text becomes the element's
/// text, taken literally ("&" and "<" stay characters and are escaped when saved).
void AddTextElement(wxXml2Node parent, const wxString& name, const wxString& text);

/// The contents of the node's text children joined in document order; CDATA sections, entity
/// references, comments and child elements take no part.
wxString GetNodeText(wxXml2Node node);
