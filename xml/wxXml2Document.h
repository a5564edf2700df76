// Wrapper of a libxml2 document: creation, root element, loading and saving.
#pragma once

#include "wxXml2Wrapper.h"

#include <libxml/tree.h>
#include <wx/stream.h>
#include <wx/string.h>

class wxXml2Node;

/// Save flags.
enum {
  /// Write the platform's line ends (through wxNativeNewlinesFilterStream).
  wxXML2DOC_USE_NATIVE_NEWLINES = 1,
  /// Indent nested elements by the given step (1 to 31 spaces; libxml2's own otherwise).
  wxXML2DOC_USE_INDENTATION = 2
};

class wxXml2Document : public wxXml2Wrapper {
  wxDECLARE_DYNAMIC_CLASS(wxXml2Document);

 public:
  wxXml2Document() = default;
  explicit wxXml2Document(xmlDoc* doc);
  wxXml2Document(const wxXml2Document& other);
  wxXml2Document& operator=(const wxXml2Document& other);
  ~wxXml2Document() override;

  void Copy(const wxXml2Document& other);

  /// Frees the document with every node in it.
  void Destroy() override;
  void SetAsEmpty() override { m_obj = nullptr; }
  void*& GetPrivate() const override { return m_obj->_private; }
  /// A document is never part of a larger tree.
  bool IsUnlinked() const override { return true; }
  bool IsOk() const override { return m_obj != nullptr; }
  xmlNode* GetTreeNode() const override { return reinterpret_cast<xmlNode*>(m_obj); }

  xmlDoc* GetObj() const { return m_obj; }

  /// Drops the document held so far and holds a new empty one; false when libxml2 fails.
  bool Create(const wxString& version = "1.0");
  /// Makes the element the document's root. A replaced root that no wrapper holds is freed.
  void SetRoot(const wxXml2Node& node);
  /// The root element; empty when there is none.
  wxXml2Node GetRoot() const;

  /// Loads a file: false, with the error text and the document untouched, when it is not
  /// an existing readable regular file; otherwise as loading from a stream.
  bool Load(const wxString& fileName, wxString* errorText = nullptr);
  /// Reads the whole stream into memory and parses it in libxml2's recovery mode, replacing
  /// the document held so far by what libxml2 built. The error text receives every parser
  /// message, one after the other as libxml2 wrote them. True when the result has a root.
  /// A stream of unknown or zero size gives "Invalid size" and keeps the document.
  bool Load(wxInputStream& stream, wxString* errorText = nullptr);

  /// Writes the document to a file (created or truncated); true when it was written whole.
  bool Save(const wxString& fileName, const wxString& encoding, long flags, int indentStep) const;
  /// Writes the document to the stream; the number of bytes written, or -1 (nothing or not
  /// everything written). libxml2's formatting settings are restored afterwards.
  int Save(wxOutputStream& stream, const wxString& encoding, long flags, int indentStep) const;

 private:
  static void OnParseMessage(void* context, const char* format, ...);

  xmlDoc* m_obj = nullptr;
};

extern const wxXml2Document wxXml2EmptyDoc;
