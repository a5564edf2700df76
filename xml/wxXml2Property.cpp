// Lifetime, reading and comparison of a wrapped attribute.
#include "wxXml2Property.h"

#include "wxXml2Utf8.h"

wxIMPLEMENT_DYNAMIC_CLASS(wxXml2Property, wxXml2Wrapper);

wxXml2Property::wxXml2Property(xmlAttr* attribute) : m_obj(attribute) { AddReference(); }

wxXml2Property::wxXml2Property(const wxXml2Property& other) : wxXml2Wrapper(), m_obj(other.m_obj) { AddReference(); }

wxXml2Property& wxXml2Property::operator=(const wxXml2Property& other) {
  Copy(other);
  return *this;
}

wxXml2Property::~wxXml2Property() { DestroyIfUnlinked(); }

void wxXml2Property::Copy(const wxXml2Property& other) {
  if (other.m_obj == m_obj) return;
  DestroyIfUnlinked();
  m_obj = other.m_obj;
  AddReference();
}

void wxXml2Property::Destroy() {
  if (m_obj) {
    // xmlRemoveProp frees only an attribute that sits on an element (it refuses, and the
    // attribute would leak, when there is none); a loose attribute is freed directly.
    if (m_obj->parent) xmlRemoveProp(m_obj);
    else xmlFreeProp(m_obj);
  }
  SetAsEmpty();
}

bool wxXml2Property::IsUnlinked() const { return !m_obj || (!m_obj->parent && !m_obj->next && !m_obj->prev); }

wxString wxXml2Property::GetName() const { return m_obj ? wxXml2String(m_obj->name) : wxString(); }

wxString wxXml2Property::GetValue() const {
  if (!m_obj || !m_obj->children) return wxString();
  return wxXml2String(m_obj->children->content);
}

wxXml2Property wxXml2Property::GetNext() const { return wxXml2Property(m_obj ? m_obj->next : nullptr); }

bool wxXml2Property::operator==(const wxXml2Property& other) const {
  if (!IsOk() || !other.IsOk()) return IsOk() == other.IsOk();
  return GetName().CmpNoCase(other.GetName()) == 0 && GetValue() == other.GetValue();
}
