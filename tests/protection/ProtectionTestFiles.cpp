// Files for the protection tests.
#include "ProtectionTestFiles.h"

#include <gtest/gtest.h>

std::string ExpectedFile(const std::string& name) {
  const std::string path = std::string(PROTECTION_EXPECTED_DIR) + "/" + name;
  EXPECT_TRUE(FileExists(path)) << path;
  return ReadWholeFile(path);
}

void ExpectMatchesExpectedFile(const std::string& actual, const std::string& name) {
  const std::string expected = ExpectedFile(name);
  EXPECT_EQ(actual, expected) << "differs from expected/" << name;
  if (actual != expected) WriteWholeFile(name + ".actual", actual);
}
