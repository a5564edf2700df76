// The date rule of the security file manager.
#include "SecurityDate.h"

#include <wx/datetime.h>

#include <cstdlib>
#include <string>

bool IsValidSecurityDate(const wxString& text) {
  if (text.empty()) return false;
  wxDateTime date;
  wxString::const_iterator end;
  if (!date.ParseFormat(text, "%d-%m-%Y", wxDefaultDateTime, &end)) return false;
  return end == text.end();
}

SecurityDate ParseDate(const wxString& text) {
  const std::string date = text.ToStdString();
  SecurityDate result;
  result.day = std::atoi(date.c_str());
  const size_t firstDash = date.find('-');
  if (firstDash == std::string::npos) return result;
  const std::string rest = date.substr(firstDash + 1);
  result.month = std::atoi(rest.c_str());
  const size_t lastDash = rest.rfind('-');
  if (lastDash != std::string::npos) result.year = std::atoi(rest.c_str() + lastDash + 1);
  return result;
}
