// A 128-bit class or interface identifier, laid out as the system writes it.
#pragma once

#include <cstdint>
#include <cstring>

struct keGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

inline bool operator==(const keGuid& a, const keGuid& b) { return std::memcmp(&a, &b, sizeof(keGuid)) == 0; }
inline bool operator!=(const keGuid& a, const keGuid& b) { return !(a == b); }

/// The identifier of the basic object interface every class object answers.
constexpr keGuid keIID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
