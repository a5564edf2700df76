// Byte utilities: hex text, big-endian puts and gets, random bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keAlloc.h"
#include "keBytes.h"

namespace {

std::string HexOf(std::vector<uint8_t> bytes) {
  char* text = BytesToHex(bytes.data(), static_cast<int>(bytes.size()));
  std::string result = text;
  keFree(text);
  return result;
}

TEST(BytesToHex, WritesLowerCaseHighNibbleFirst) {
  EXPECT_EQ(HexOf({0x00, 0xAB, 0xFF}), "00abff");
  EXPECT_EQ(HexOf({}), "");
  char* none = BytesToHex(nullptr, -3);
  EXPECT_STREQ(none, "");
  keFree(none);
}

struct HexCase {
  const char* text;
  std::vector<uint8_t> bytes;
};

TEST(HexToBytes, DecodesEitherCaseAndEndsWithNul) {
  const std::vector<HexCase> cases = {
      {"00AbfF", {0x00, 0xAB, 0xFF}},
      {"abc", {0xAB}},  // an odd last character is ignored
      {"", {}},
      {"zz", {(16 * 16 + 16) % 256}},  // characters outside the table count as 16
      {"0g", {16}},
  };
  for (const auto& c : cases) {
    int length = static_cast<int>(std::string(c.text).size());
    uint8_t* bytes = HexToBytes(c.text, length);
    std::vector<uint8_t> got(bytes, bytes + c.bytes.size());
    EXPECT_EQ(got, c.bytes) << c.text;
    EXPECT_EQ(bytes[c.bytes.size()], 0) << c.text;
    keFree(bytes);
  }
}

TEST(HexToBytes, RoundTripsEveryByte) {
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
  std::string hex = HexOf(all);
  uint8_t* back = HexToBytes(hex.c_str(), static_cast<int>(hex.size()));
  EXPECT_EQ(std::vector<uint8_t>(back, back + 256), all);
  keFree(back);
}

TEST(BigEndian, PutsAndGetsAtARunningPosition) {
  uint8_t buffer[32] = {};
  uint32_t pos = 6;
  PutU32(1, buffer, &pos);
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(std::vector<uint8_t>(buffer + 6, buffer + 10), (std::vector<uint8_t>{0, 0, 0, 1}));

  pos = 0;
  PutU16(0x1234, buffer, &pos);
  PutU64(0x0102030405060708ULL, buffer, &pos);
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 10), (std::vector<uint8_t>{0x12, 0x34, 1, 2, 3, 4, 5, 6, 7, 8}));

  pos = 0;
  EXPECT_EQ(GetU16(buffer, &pos), 0x1234);
  EXPECT_EQ(GetU32(buffer, &pos), 0x01020304u);
  EXPECT_EQ(pos, 6u);
}

TEST(RandomBytes, DrawsEveryByteValueFromTheSystemSource) {
  // A 15-bit generator scaled wrongly would never reach the high values; a
  // proper source covers all 256 values in a modest sample.
  uint8_t* bytes = RandomBytes(65536);
  std::vector<bool> seen(256, false);
  for (int i = 0; i < 65536; ++i) seen[bytes[i]] = true;
  keFree(bytes);
  for (int v = 0; v < 256; ++v) EXPECT_TRUE(seen[v]) << v;

  uint8_t* a = RandomBytes(16);
  uint8_t* b = RandomBytes(16);
  EXPECT_NE(std::vector<uint8_t>(a, a + 16), std::vector<uint8_t>(b, b + 16));
  keFree(a);
  keFree(b);
}

TEST(ConcatStrings, JoinsIntoANewString) {
  char* joined = ConcatStrings("Theora", " 1");
  EXPECT_STREQ(joined, "Theora 1");
  keFree(joined);
}

}  // namespace
