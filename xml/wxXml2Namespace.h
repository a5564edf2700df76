// Wrapper of a libxml2 namespace, together with the node on which it is used or declared.
#pragma once

#include "wxXml2Wrapper.h"

#include <libxml/tree.h>
#include <wx/string.h>

class wxXml2Node;

class wxXml2Namespace : public wxXml2Wrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2Namespace);

 public:
  wxXml2Namespace() = default;
  /// Holds the namespace; the owner's node (null when the owner is empty) marks it as part of
  /// a tree, which frees it.
  wxXml2Namespace(xmlNs* ns, const wxXml2Node& owner);
  wxXml2Namespace(const wxXml2Namespace& other);
  wxXml2Namespace& operator=(const wxXml2Namespace& other);
  ~wxXml2Namespace() override;

  void Copy(const wxXml2Namespace& other);

  void Destroy() override;
  void SetAsEmpty() override {
    m_obj = nullptr;
    m_owner = nullptr;
  }
  void*& GetPrivate() const override { return m_obj->_private; }
  /// Empty, or no owner node.
  bool IsUnlinked() const override { return !m_obj || !m_owner; }
  bool IsOk() const override { return m_obj != nullptr; }
  xmlNode* GetTreeNode() const override { return m_owner; }

  xmlNs* GetObj() const { return m_obj; }
  xmlNode* GetOwner() const { return m_owner; }

  wxString GetPrefix() const;
  wxString GetURI() const;

  /// Both empty, or prefixes equal exactly and URIs equal ignoring case.
  bool operator==(const wxXml2Namespace& other) const;
  bool operator!=(const wxXml2Namespace& other) const { return !(*this == other); }

 private:
  xmlNs* m_obj = nullptr;
  xmlNode* m_owner = nullptr;
};

extern const wxXml2Namespace wxXml2EmptyNamespace;
