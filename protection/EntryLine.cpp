// Formatting of entry lines, dates and the match key.
#include "EntryLine.h"

#include "keAlloc.h"
#include "keBytes.h"

#include <memory>
#include <new>

std::string FormatDate(int day, int month, int year) {
  return std::to_string(day) + "-" + std::to_string(month) + "-" + std::to_string(year);
}

std::string ToHex(const uint8_t* bytes, size_t count) {
  std::unique_ptr<char, void (*)(void*)> hex(BytesToHex(bytes, static_cast<int>(count)), keFree);
  if (!hex) throw std::bad_alloc();  // the engine's heap answers a shortage with null
  return hex.get();
}

std::string EntryLine(const std::string& site) { return site; }

std::string EntryLine(const std::string& site, int day, int month, int year) {
  return site + ",expire:" + FormatDate(day, month, year);
}
