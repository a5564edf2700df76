// The scrambling of the stored phrase: fixed vectors worked out by hand, and the round trip.
#include "PhraseScrambling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace

TEST(PhraseScrambling, StepsChangeTheBytesAsChainedXorAndReversal) {
  std::vector<uint8_t> bytes{0x01, 0x02, 0x03};
  ChainXor(bytes.data(), 3);
  // 0x01^0xD4, then each byte with the already changed one before it.
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0xD5, 0xD7, 0xD4}));
  UnchainXor(bytes.data(), 3);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x01, 0x02, 0x03}));

  std::vector<uint8_t> odd{1, 2, 3, 4, 5};
  ReverseBytes(odd.data(), 5);
  EXPECT_EQ(odd, (std::vector<uint8_t>{5, 4, 3, 2, 1}));
  std::vector<uint8_t> even{1, 2, 3, 4};
  ReverseBytes(even.data(), 4);
  EXPECT_EQ(even, (std::vector<uint8_t>{4, 3, 2, 1}));
}

TEST(PhraseScrambling, TwoBytesScrambleToTheHandWorkedValue) {
  // "ab": round one gives b^a^S, a^S; round two gives b^S, a^b.
  std::vector<uint8_t> bytes = Bytes("ab");
  ScramblePhrase(bytes.data(), 2);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x62 ^ 0xD4, 0x61 ^ 0x62}));
}

TEST(PhraseScrambling, UnscrambleRestoresEveryLength) {
  const std::vector<std::string> phrases = {"",
                                            "a",
                                            "ab",
                                            "abc",
                                            "abcd",
                                            "my secret",
                                            "two  blanks ",
                                            std::string("zero\0byte", 9),
                                            std::string(255, '\xff'),
                                            std::string(1000, 'q')};
  for (const std::string& phrase : phrases) {
    SCOPED_TRACE("length " + std::to_string(phrase.size()));
    std::vector<uint8_t> bytes = Bytes(phrase);
    const int n = static_cast<int>(bytes.size());
    ScramblePhrase(bytes.data(), n);
    if (n >= 2) {
      EXPECT_NE(bytes, Bytes(phrase));
    }
    UnscramblePhrase(bytes.data(), n);
    EXPECT_EQ(bytes, Bytes(phrase));
  }
}

TEST(PhraseScrambling, NonPositiveCountsChangeNothing) {
  uint8_t byte = 0x42;
  for (int n : {0, -1}) {
    ScramblePhrase(&byte, n);
    UnscramblePhrase(&byte, n);
    ChainXor(&byte, n);
    UnchainXor(&byte, n);
    ReverseBytes(&byte, n);
  }
  EXPECT_EQ(byte, 0x42);
}
