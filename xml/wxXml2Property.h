// Wrapper of a libxml2 attribute.
#pragma once

#include "wxXml2Wrapper.h"

#include <libxml/tree.h>
#include <wx/string.h>

class wxXml2Property : public wxXml2Wrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2Property);

 public:
  wxXml2Property() = default;
  explicit wxXml2Property(xmlAttr* attribute);
  wxXml2Property(const wxXml2Property& other);
  wxXml2Property& operator=(const wxXml2Property& other);
  ~wxXml2Property() override;

  void Copy(const wxXml2Property& other);

  void Destroy() override;
  void SetAsEmpty() override { m_obj = nullptr; }
  void*& GetPrivate() const override { return m_obj->_private; }
  /// Empty, or the attribute has no element and no siblings.
  bool IsUnlinked() const override;
  bool IsOk() const override { return m_obj != nullptr; }
  xmlNode* GetTreeNode() const override { return reinterpret_cast<xmlNode*>(m_obj); }

  xmlAttr* GetObj() const { return m_obj; }

  wxString GetName() const;
  /// The text of the attribute's first child, which holds its value.
  wxString GetValue() const;
  /// The next attribute of the same element.
  wxXml2Property GetNext() const;

  /// Both empty, or names equal ignoring case and values equal exactly.
  bool operator==(const wxXml2Property& other) const;
  bool operator!=(const wxXml2Property& other) const { return !(*this == other); }

 private:
  xmlAttr* m_obj = nullptr;
};

extern const wxXml2Property wxXml2EmptyProperty;
