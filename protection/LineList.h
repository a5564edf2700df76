// An ordered list of text lines, each ending in CR LF: how the security file and the auth
// file are built before they are written byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class LineList {
 public:
  /// Appends the text followed by CR LF.
  void AddLine(const std::string& text);
  /// Inserts the text followed by CR LF as the line at the index (0: the head; an index past
  /// the end appends).
  void InsertLine(size_t index, const std::string& text);
  /// Appends a line that is CR LF alone.
  void AddBlank();
  /// Appends "#", the text and CR LF.
  void AddComment(const std::string& text);

  size_t Count() const { return m_lines.size(); }
  /// The line with its CR LF.
  const std::string& GetLine(size_t index) const { return m_lines.at(index); }
  /// True when the line begins with CR LF.
  bool IsBlank(size_t index) const;

  /// Appends a copy of every line of the other list, in order.
  void AppendAll(const LineList& other);

 private:
  std::vector<std::string> m_lines;
};

/// Every line of a protection file ends with this.
extern const char* const kLineEnd;
