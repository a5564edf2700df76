// The date rule for typed expiry dates and the split into day, month and year.
#include "SecurityDate.h"

#include <gtest/gtest.h>

TEST(SecurityDateRule, AcceptsWholeValidDatesOnly) {
  struct Case {
    const char* text;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"5-3-2010", true},     {"05-03-2010", true},   {"29-02-2012", true},  {"29-02-2000", true},
      {"31-12-1999", true},   {"1-1-2011", true},     {"31-04-2010", false}, {"29-02-2011", false},
      {"29-02-1900", false},  {"5/3/2010", false},    {"", false},           {"05-03-2010 ", false},
      {" 05-03-2010", false}, {"05 -03-2010", false}, {"0-3-2010", false},   {"32-1-2010", false},
      {"5-13-2010", false},   {"5-0-2010", false},    {"5-3", false},        {"5-3-", false},
      {"a-3-2010", false},    {"5-3-2010x", false},   {"dd-mm-yyyy", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsValidSecurityDate(c.text), c.valid);
  }
}

TEST(SecurityDateRule, ParseDateSplitsAsAtoiReads) {
  struct Case {
    const char* text;
    int day, month, year;
  };
  const std::vector<Case> cases = {
      {"05-03-2010", 5, 3, 2010},
      {"1-12-2011", 1, 12, 2011},
      {"29-02-2012", 29, 2, 2012},
      {"", 0, 0, 0},
      {"7", 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const SecurityDate date = ParseDate(c.text);
    EXPECT_EQ(date.day, c.day);
    EXPECT_EQ(date.month, c.month);
    EXPECT_EQ(date.year, c.year);
  }
}
