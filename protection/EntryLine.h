// Entry lines of the protection files: a site, or a site with its expiry date, which the
// player reads into a buffer of limited size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// The longest entry line the player accepts, in bytes, without the CR LF.
constexpr size_t kMaxEntryLineLength = 254;

/// Day, month and year in decimal without leading zeros, joined by "-": 5-3-2010.
std::string FormatDate(int day, int month, int year);

/// 2 * count lower-case hexadecimal characters, each byte high nibble first.
std::string ToHex(const uint8_t* bytes, size_t count);

/// The site alone.
std::string EntryLine(const std::string& site);
/// The site, ",expire:" and FormatDate of the date.
std::string EntryLine(const std::string& site, int day, int month, int year);

/// Whether the player can read the line whole.
inline bool EntryLineFits(const std::string& line) { return line.size() <= kMaxEntryLineLength; }
