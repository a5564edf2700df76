// The admitted document bases: inside the security file, or alone as the auth file.
#pragma once

#include "LineList.h"

#include <string>

class DocumentBaseList {
 public:
  /// Appends the entry line of the site; false, adding nothing, when it would be longer
  /// than the player reads.
  bool Add(const std::string& site);
  /// Appends the site with ",expire:" and the date; false, adding nothing, as for Add.
  bool AddWithExpiry(const std::string& site, int day, int month, int year);

  /// Appends the document base section: a blank line, its comment, "$document-base-list",
  /// a blank line, the entries, a blank line and the closing rule.
  void WriteSection(LineList& target) const;

 private:
  bool AddEntry(const std::string& line);

  LineList m_lines;
};
