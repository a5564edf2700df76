// The dates the user types for the security files: "dd-mm-yyyy".
#pragma once

#include <wx/string.h>

struct SecurityDate {
  int day = 0;
  int month = 0;
  int year = 0;
};

/// The date rule: wxDateTime::ParseFormat with "%d-%m-%Y" accepts the whole text (day 1 to
/// 31, month 1 to 12, a year of digits, each of one or more digits, joined by "-", nothing
/// before, between or after) and the day exists in that month of that year.
bool IsValidSecurityDate(const wxString& text);

/// Day, month and year as atoi reads them: the day before the first "-", the month before
/// the next one, the year after the last one; a missing part gives 0. Only meant for texts
/// that passed the date rule.
SecurityDate ParseDate(const wxString& text);
