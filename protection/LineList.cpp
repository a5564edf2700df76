// The lines of a protection text file.
#include "LineList.h"

const char* const kLineEnd = "\r\n";

void LineList::AddLine(const std::string& text) { m_lines.push_back(text + kLineEnd); }

void LineList::InsertLine(size_t index, const std::string& text) {
  if (index > m_lines.size()) index = m_lines.size();
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index), text + kLineEnd);
}

void LineList::AddBlank() { m_lines.push_back(kLineEnd); }

void LineList::AddComment(const std::string& text) { AddLine("#" + text); }

bool LineList::IsBlank(size_t index) const { return GetLine(index).compare(0, 2, kLineEnd) == 0; }

void LineList::AppendAll(const LineList& other) {
  m_lines.insert(m_lines.end(), other.m_lines.begin(), other.m_lines.end());
}
