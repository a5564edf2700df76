// Helpers shared by the XML layer tests: a count of the memory blocks libxml2 holds, and
// documents to and from text.
#pragma once

#include "wxXml2Document.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/xmlmemory.h>
#include <wx/mstream.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace xmltest {

/// Blocks that libxml2 allocated and has not freed yet. A test that takes this before and
/// after a piece of work sees exactly whether the work freed what it made.
inline long& LiveBlocks() {
  static long count = 0;
  return count;
}

inline void* CountingMalloc(size_t size) {
  void* block = std::malloc(size);
  if (block) ++LiveBlocks();
  return block;
}

inline void CountingFree(void* block) {
  if (block) {
    --LiveBlocks();
    std::free(block);
  }
}

inline void* CountingRealloc(void* block, size_t size) {
  void* moved = std::realloc(block, size);
  if (!block && moved) ++LiveBlocks();
  return moved;
}

inline char* CountingStrdup(const char* text) {
  const size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(CountingMalloc(size));
  if (copy) std::memcpy(copy, text, size);
  return copy;
}

/// Installed while the test program starts, before anything asks libxml2 for memory; the
/// parser is initialised at once so that its one-time tables do not count as a test's blocks.
inline const bool countingInstalled = [] {
  xmlMemSetup(CountingFree, CountingMalloc, CountingRealloc, CountingStrdup);
  xmlInitParser();
  return true;
}();

/// Whether the counting functions are the ones libxml2 uses.
inline bool Counting() { return countingInstalled && xmlMalloc == CountingMalloc; }

inline bool LoadText(wxXml2Document& doc, const std::string& text, wxString* errorText = nullptr) {
  wxMemoryInputStream input(text.data(), text.size());
  return doc.Load(input, errorText);
}

/// The document as Save writes it to a stream; "<failed>" when Save returns -1.
inline std::string SaveText(const wxXml2Document& doc, long flags = 0, int step = 0,
                            const wxString& encoding = "UTF-8") {
  wxMemoryOutputStream output;
  if (doc.Save(output, encoding, flags, step) == -1) return "<failed>";
  const size_t size = output.GetSize();
  std::string text(size, '\0');
  output.CopyTo(text.data(), size);
  return text;
}

/// The document's tree as unformatted XML, without the declaration line and the final line
/// end: what the tests compare trees by.
inline std::string BodyText(const wxXml2Document& doc) {
  if (!doc.IsOk()) return "<empty>";
  xmlChar* bytes = nullptr;
  int size = 0;
  xmlDocDumpFormatMemory(doc.GetObj(), &bytes, &size, 0);
  std::string text(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
  xmlFree(bytes);
  const size_t declarationEnd = text.find("?>\n");
  if (text.rfind("<?xml ", 0) == 0 && declarationEnd != std::string::npos) text.erase(0, declarationEnd + 3);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

/// The count kept in a libxml2 object's `_private` field.
template <typename T>
int RefCount(const T* object) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(object->_private));
}

}  // namespace xmltest
