// Base of the wrappers that share a count kept inside the wrapped libxml2 object.
//
// How the XML layer holds libxml2 objects
// ---------------------------------------
// A wrapper (document, node, attribute, namespace, DTD, declaration) holds one pointer to a
// libxml2 object and nothing else of the tree; copies share the object. The number of wrappers
// holding an object is kept in the object itself, in its `_private` field, so every wrapper of
// that object - also one made later from the bare pointer - reads and writes the same count.
// libxml2 leaves `_private` null in every object it creates, so a fresh object counts 0.
//
// Dropping a hold (destructor, assignment, rebuilding) decrements the count. The wrapper that
// drops the last hold frees the object only when it is unlinked (not part of a tree); an object
// linked into a tree is freed by libxml2 together with its document, and a document counts as
// always unlinked.
//
// Freeing a document (or an unlinked subtree) frees every node in it, and a wrapper that still
// held one of those would read freed memory when it lets go. So when the last hold on a
// document or an unlinked subtree goes while a wrapper still holds something inside it, the
// freeing waits: the wrapper that later drops the last hold inside it frees the whole tree.
// Wrappers may therefore be released in any order.
//
// Everything runs on one thread (the GUI's); the count is a plain integer.
#pragma once

#include <libxml/tree.h>
#include <wx/object.h>

#include <cstdint>

/// The count of wrappers stored in a libxml2 object's pointer-sized `_private` field.
inline int wxXml2GetRefCount(const void* privateField) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(privateField));
}

inline void* wxXml2MakePrivate(int count) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(count)); }

class wxXml2Wrapper : public wxObject {
  wxDECLARE_ABSTRACT_CLASS(wxXml2Wrapper);

 public:
  wxXml2Wrapper() = default;
  wxXml2Wrapper(const wxXml2Wrapper&) : wxObject() {}
  wxXml2Wrapper& operator=(const wxXml2Wrapper&) { return *this; }
  ~wxXml2Wrapper() override = default;

  /// Frees the wrapped object with libxml2, whatever its count and links, then empties the
  /// wrapper. Other wrappers of the object are left dangling: normally DestroyIfUnlinked
  /// decides when to call this.
  virtual void Destroy() = 0;
  /// Forgets the wrapped object without freeing it or touching its count.
  virtual void SetAsEmpty() = 0;
  /// The wrapped object's `_private` field, which holds the count. Only while IsOk.
  virtual void*& GetPrivate() const = 0;
  virtual bool IsUnlinked() const = 0;
  virtual bool IsOk() const = 0;
  /// Gives back this wrapper's hold: frees the object when this was the last hold and the
  /// object is unlinked. The wrapper is empty afterwards.
  virtual void DestroyIfUnlinked();
  /// Where the object sits in a tree, as libxml2's common node header (for a namespace, its
  /// owner node); null when it sits in none. Only while IsOk.
  virtual xmlNode* GetTreeNode() const = 0;

 protected:
  /// Counts this wrapper as a holder of its object (nothing when empty).
  void AddReference();
};
