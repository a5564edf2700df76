// Lifetime of enumeration and content-model wrappers.
#include "wxXml2HelpWrapper.h"

#include "wxXml2Trace.h"

wxIMPLEMENT_ABSTRACT_CLASS(wxXml2HelpWrapper, wxObject);
wxIMPLEMENT_DYNAMIC_CLASS(wxXml2Enumeration, wxXml2HelpWrapper);
wxIMPLEMENT_DYNAMIC_CLASS(wxXml2ElemContent, wxXml2HelpWrapper);

void wxXml2HelpWrapper::DestroyIfUnlinked() {
  if (IsLinked()) {
    wxXml2TRACE(*this, "NOT destroyed (because linked)");
    return;
  }
  Destroy();
  wxXml2TRACE(*this, "destroyed");
}

wxXml2Enumeration::wxXml2Enumeration(xmlEnumeration* enumeration, bool linked) : m_obj(enumeration) {
  SetLinked(linked);
}

wxXml2Enumeration::~wxXml2Enumeration() { DestroyIfUnlinked(); }

void wxXml2Enumeration::Destroy() {
  if (m_obj) xmlFreeEnumeration(m_obj);
  m_obj = nullptr;
}

wxXml2ElemContent::wxXml2ElemContent(xmlElementContent* content, bool linked) : m_obj(content) { SetLinked(linked); }

wxXml2ElemContent::~wxXml2ElemContent() { DestroyIfUnlinked(); }

void wxXml2ElemContent::Destroy() {
  if (m_obj) xmlFreeElementContent(m_obj);
  m_obj = nullptr;
}
