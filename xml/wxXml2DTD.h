// Wrapper of a libxml2 document type definition.
#pragma once

#include "wxXml2Wrapper.h"

#include <libxml/tree.h>

class wxXml2DTD : public wxXml2Wrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2DTD);

 public:
  wxXml2DTD() = default;
  explicit wxXml2DTD(xmlDtd* dtd);
  wxXml2DTD(const wxXml2DTD& other);
  wxXml2DTD& operator=(const wxXml2DTD& other);
  ~wxXml2DTD() override;

  void Copy(const wxXml2DTD& other);

  /// Frees the DTD with every declaration in it.
  void Destroy() override;
  void SetAsEmpty() override { m_obj = nullptr; }
  void*& GetPrivate() const override { return m_obj->_private; }
  /// Empty, or the DTD belongs to no document.
  bool IsUnlinked() const override { return !m_obj || !m_obj->parent; }
  bool IsOk() const override { return m_obj != nullptr; }
  xmlNode* GetTreeNode() const override { return reinterpret_cast<xmlNode*>(m_obj); }

  xmlDtd* GetObj() const { return m_obj; }

 private:
  xmlDtd* m_obj = nullptr;
};

extern const wxXml2DTD wxXml2EmptyDTD;
