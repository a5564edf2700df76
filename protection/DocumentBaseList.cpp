// The document base section of the protection files.
#include "DocumentBaseList.h"

#include "EntryLine.h"
#include "SecurityFileText.h"

bool DocumentBaseList::Add(const std::string& site) { return AddEntry(EntryLine(site)); }

bool DocumentBaseList::AddWithExpiry(const std::string& site, int day, int month, int year) {
  return AddEntry(EntryLine(site, day, month, year));
}

bool DocumentBaseList::AddEntry(const std::string& line) {
  if (!EntryLineFits(line)) return false;
  m_lines.AddLine(line);
  return true;
}

void DocumentBaseList::WriteSection(LineList& target) const {
  target.AddBlank();
  target.AddComment(kDocumentBaseComment);
  target.AddLine(kDocumentBaseKeyword);
  target.AddBlank();
  target.AppendAll(m_lines);
  target.AddBlank();
  target.AddComment(kClosingRule);
}
