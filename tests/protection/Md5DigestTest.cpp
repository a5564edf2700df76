// The MD5 computation against RFC 1321's own test suite.
#include "EntryLine.h"
#include "Md5Digest.h"

#include <gtest/gtest.h>

namespace {

std::string Md5Hex(const std::string& bytes) {
  Md5Digest digest;
  digest.Update(bytes);
  const Md5Digest::Digest result = digest.Finish();
  return ToHex(result.data(), result.size());
}

}  // namespace

TEST(Md5Digest, MatchesTheRfcTestSuite) {
  struct Case {
    std::string input;
    std::string digest;
  };
  const std::vector<Case> cases = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Md5Hex(c.input), c.digest);
  }
}

TEST(Md5Digest, PiecesGiveTheDigestOfTheWhole) {
  Md5Digest digest;
  ASSERT_TRUE(digest.IsOk());
  digest.Update("message ");
  digest.Update("", 0);
  digest.Update("digest");
  const Md5Digest::Digest result = digest.Finish();
  EXPECT_EQ(ToHex(result.data(), result.size()), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_FALSE(digest.IsOk());
}
