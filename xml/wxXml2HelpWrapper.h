// Wrappers of the small libxml2 structures that have no room for a count: attribute value
// enumerations and element content models of DTD declarations.
//
// Such a wrapper owns its object unless it is marked linked (the object then belongs to a
// larger libxml2 structure that frees it). With no count to share, a wrapper cannot be
// copied: two owners of one object would both free it.
#pragma once

#include <libxml/tree.h>
#include <libxml/valid.h>
#include <wx/object.h>

#include <cstdint>

class wxXml2HelpWrapper : public wxObject {
  wxDECLARE_ABSTRACT_CLASS(wxXml2HelpWrapper);

 public:
  wxXml2HelpWrapper() = default;
  wxXml2HelpWrapper(const wxXml2HelpWrapper&) = delete;
  wxXml2HelpWrapper& operator=(const wxXml2HelpWrapper&) = delete;
  ~wxXml2HelpWrapper() override = default;

  /// Frees the wrapped object (when there is one) and forgets it.
  virtual void Destroy() = 0;
  /// Frees the wrapped object unless it is linked; forgets it in both cases.
  virtual void DestroyIfUnlinked();

  bool IsLinked() const { return m_linked != 0; }
  void SetLinked(bool linked) { m_linked = linked ? 1 : 0; }

 protected:
  std::uint32_t m_linked = 0;
};

class wxXml2Enumeration : public wxXml2HelpWrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2Enumeration);

 public:
  wxXml2Enumeration() = default;
  /// Owns the enumeration unless linked.
  explicit wxXml2Enumeration(xmlEnumeration* enumeration, bool linked = false);
  ~wxXml2Enumeration() override;

  void Destroy() override;
  bool IsOk() const { return m_obj != nullptr; }
  xmlEnumeration* GetObj() const { return m_obj; }

 private:
  xmlEnumeration* m_obj = nullptr;
};

class wxXml2ElemContent : public wxXml2HelpWrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2ElemContent);

 public:
  wxXml2ElemContent() = default;
  /// Owns the content model unless linked.
  explicit wxXml2ElemContent(xmlElementContent* content, bool linked = false);
  ~wxXml2ElemContent() override;

  void Destroy() override;
  bool IsOk() const { return m_obj != nullptr; }
  xmlElementContent* GetObj() const { return m_obj; }

 private:
  xmlElementContent* m_obj = nullptr;
};

extern const wxXml2Enumeration wxXml2EmptyEnumeration;
extern const wxXml2ElemContent wxXml2EmptyElemContent;
