// The character rules of the window's fields.
#include "FieldRules.h"

bool IsDigitsOnly(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

namespace {

bool IsAllowedFileNameByte(unsigned char c) {
  if (c >= 128) return true;
  if (c == ' ') return true;
  if (c >= 45 && c <= 59) return true;  // - . / 0-9 : ;
  if (c >= 'A' && c <= 'Z') return true;
  if (c == '\\' || c == ']') return true;
  if (c == '_') return true;
  if (c >= 'a' && c <= 'z') return true;
  return false;
}

}  // namespace

bool IsAllowedFileName(const std::string& name) {
  for (char c : name) {
    if (!IsAllowedFileNameByte(static_cast<unsigned char>(c))) return false;
  }
  return true;
}
