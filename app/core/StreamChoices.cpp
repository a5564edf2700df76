// The choice lists of the streams grid's editors.
#include "StreamChoices.h"

#include <cerrno>
#include <cstdlib>

const std::vector<std::string>& SizeChoices() {
  static const std::vector<std::string> choices = [] {
    std::vector<std::string> list;
    for (int size = 992; size >= 0; size -= 16) list.push_back(std::to_string(size));
    return list;
  }();
  return choices;
}

const std::vector<std::string>& FpsChoices() {
  static const std::vector<std::string> choices = {"5",  "6",  "7",  "8",  "9",  "10", "11", "12", "12.5", "13", "14",
                                                   "15", "16", "17", "18", "19", "20", "21", "22", "23",   "24", "25"};
  return choices;
}

const std::vector<std::string>& AudioBitrateChoices() {
  static const std::vector<std::string> choices = {"8",  "12", "16", "22",  "32",  "40",  "48", "56",
                                                   "64", "80", "96", "112", "128", "144", "196"};
  return choices;
}

bool RaiseToSizeStep(const std::string& text, std::string* raised) {
  // strtol reads the leading digits (after blanks and a sign) and saturates
  // on overflow; a saturated value is left alone rather than wrapped.
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value > 0x7fffffffL - 16 || value < -0x7fffffffL) return false;
  const long remainder = value % 16;
  if (remainder == 0) return false;
  *raised = std::to_string(value + 16 - remainder);
  return true;
}
