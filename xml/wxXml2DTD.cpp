// Lifetime of a wrapped DTD.
#include "wxXml2DTD.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2DTD, wxXml2Wrapper);

wxXml2DTD::wxXml2DTD(xmlDtd* dtd) : m_obj(dtd) { AddReference(); }

wxXml2DTD::wxXml2DTD(const wxXml2DTD& other) : wxXml2Wrapper(), m_obj(other.m_obj) { AddReference(); }

wxXml2DTD& wxXml2DTD::operator=(const wxXml2DTD& other) {
  Copy(other);
  return *this;
}

wxXml2DTD::~wxXml2DTD() { DestroyIfUnlinked(); }

void wxXml2DTD::Copy(const wxXml2DTD& other) {
  if (other.m_obj == m_obj) return;
  DestroyIfUnlinked();
  m_obj = other.m_obj;
  AddReference();
}

void wxXml2DTD::Destroy() {
  if (m_obj) xmlFreeDtd(m_obj);
  SetAsEmpty();
}
