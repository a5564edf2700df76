// Wrapper of any libxml2 node: the common part of element, text and declaration wrappers.
#pragma once

#include "wxXml2Wrapper.h"

#include <libxml/tree.h>

class wxXml2BaseNode : public wxXml2Wrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2BaseNode);

 public:
  wxXml2BaseNode() = default;
  /// Holds the node (counts one more holder); null gives an empty wrapper.
  explicit wxXml2BaseNode(xmlNode* node);
  wxXml2BaseNode(const wxXml2BaseNode& other);
  wxXml2BaseNode& operator=(const wxXml2BaseNode& other);
  ~wxXml2BaseNode() override;

  /// Drops the node held so far, then holds the other wrapper's node.
  void Copy(const wxXml2BaseNode& other);

  void Destroy() override;
  void SetAsEmpty() override { m_obj = nullptr; }
  void*& GetPrivate() const override { return m_obj->_private; }
  /// Empty, or the node has no parent and no siblings.
  bool IsUnlinked() const override;
  bool IsOk() const override { return m_obj != nullptr; }
  xmlNode* GetTreeNode() const override { return m_obj; }

  xmlNode* GetObj() const { return m_obj; }

  wxXml2BaseNode GetNext() const;
  wxXml2BaseNode GetChildren() const;

 protected:
  xmlNode* m_obj = nullptr;
};

extern const wxXml2BaseNode wxXml2EmptyBaseNode;
