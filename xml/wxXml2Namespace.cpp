// Lifetime, reading and comparison of a wrapped namespace.
#include "wxXml2Namespace.h"

#include "wxXml2Node.h"
#include "wxXml2Utf8.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2Namespace, wxXml2Wrapper);

wxXml2Namespace::wxXml2Namespace(xmlNs* ns, const wxXml2Node& owner) : m_obj(ns), m_owner(owner.GetObj()) {
  AddReference();
}

wxXml2Namespace::wxXml2Namespace(const wxXml2Namespace& other)
    : wxXml2Wrapper(), m_obj(other.m_obj), m_owner(other.m_owner) {
  AddReference();
}

wxXml2Namespace& wxXml2Namespace::operator=(const wxXml2Namespace& other) {
  Copy(other);
  return *this;
}

wxXml2Namespace::~wxXml2Namespace() { DestroyIfUnlinked(); }

void wxXml2Namespace::Copy(const wxXml2Namespace& other) {
  if (other.m_obj == m_obj) {
    m_owner = other.m_owner;
    return;
  }
  DestroyIfUnlinked();
  m_obj = other.m_obj;
  m_owner = other.m_owner;
  AddReference();
}

void wxXml2Namespace::Destroy() {
  if (m_obj) xmlFreeNs(m_obj);
  SetAsEmpty();
}

wxString wxXml2Namespace::GetPrefix() const { return m_obj ? wxXml2String(m_obj->prefix) : wxString(); }

wxString wxXml2Namespace::GetURI() const { return m_obj ? wxXml2String(m_obj->href) : wxString(); }

bool wxXml2Namespace::operator==(const wxXml2Namespace& other) const {
  if (!IsOk() || !other.IsOk()) return IsOk() == other.IsOk();
  return GetPrefix() == other.GetPrefix() && GetURI().CmpNoCase(other.GetURI()) == 0;
}
