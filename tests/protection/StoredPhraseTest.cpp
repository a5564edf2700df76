// The phrase in the configuration: "/General/ID" as lower-case hex of the scrambled bytes.
#include "ProtectionTestFiles.h"
#include "StoredPhrase.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

class StoredPhraseTest : public ::testing::Test {
 protected:
  std::unique_ptr<wxFileConfig> OpenConfig(const std::string& file) {
    return std::make_unique<wxFileConfig>("Ostrel 3", "Harwelco", file, wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
  }

  TempDir folder;
};

}  // namespace

TEST_F(StoredPhraseTest, StoredTextIsEvenLowerCaseHexAndReadsBack) {
  const std::vector<std::string> phrases = {"x", "ab", "my secret phrase", "  several words, kept blanks  ", "Zürich"};
  for (const std::string& phrase : phrases) {
    SCOPED_TRACE(phrase);
    const std::string file = folder.File("config.ini");
    {
      auto config = OpenConfig(file);
      ASSERT_TRUE(WriteStoredPhrase(*config, phrase));
    }
    // A new configuration object reads what the first flushed to the file.
    auto config = OpenConfig(file);
    wxString stored;
    ASSERT_TRUE(config->Read("/General/ID", &stored));
    EXPECT_EQ(stored.length(), 2 * phrase.size());
    EXPECT_EQ(stored.find_first_not_of("0123456789abcdef"), wxString::npos) << stored;
    EXPECT_EQ(ReadStoredPhrase(*config), phrase);
  }
}

TEST_F(StoredPhraseTest, KnownPhraseHasKnownStoredText) {
  auto config = OpenConfig(folder.File("config.ini"));
  ASSERT_TRUE(WriteStoredPhrase(*config, "ab"));
  EXPECT_EQ(config->Read("/General/ID", ""), "b603");
  // Either case of hex digits reads.
  config->Write("/General/ID", "B603");
  EXPECT_EQ(ReadStoredPhrase(*config), "ab");
}

TEST_F(StoredPhraseTest, AbsentOrEmptyKeyMeansNoPhrase) {
  auto config = OpenConfig(folder.File("config.ini"));
  EXPECT_EQ(ReadStoredPhrase(*config), "");
  ASSERT_TRUE(WriteStoredPhrase(*config, ""));
  EXPECT_TRUE(config->HasEntry("/General/ID"));
  EXPECT_EQ(config->Read("/General/ID", "absent"), "");
  EXPECT_EQ(ReadStoredPhrase(*config), "");
}

TEST_F(StoredPhraseTest, OddLengthTextReadsItsWholeBytesOnly) {
  auto config = OpenConfig(folder.File("config.ini"));
  config->Write("/General/ID", "b6037");
  EXPECT_EQ(ReadStoredPhrase(*config), "ab");
}

TEST_F(StoredPhraseTest, RefusedWriteIsReported) {
  auto config = OpenConfig(folder.File("missing-folder/config.ini"));
  EXPECT_FALSE(WriteStoredPhrase(*config, "phrase"));
  // What the user was told is not saved does not seal files for the rest of the session.
  EXPECT_EQ(ReadStoredPhrase(*config), "");
  config->Write("/General/ID", "b603");
  EXPECT_FALSE(WriteStoredPhrase(*config, "other"));
  EXPECT_EQ(ReadStoredPhrase(*config), "ab");
}

TEST(PhraseText, ShownUpToTheFirstZeroByte) { EXPECT_EQ(PhraseBytesToText(std::string("abc\0def", 7)), "abc"); }

// The player seals with the phrase as single bytes: ISO-8859-1, one byte a character.
TEST(PhraseText, StoredAsIso8859OneByteACharacter) {
  struct Case {
    const char* typedUtf8;
    std::optional<std::string> bytes;
  };
  const std::vector<Case> cases = {
      {" a  b ", std::string(" a  b ")},
      {"Z\xc3\xbcrich", std::string("Z\xfcrich")},
      {"\xc3\xa9t\xc3\xa9 \xc3\xbf", std::string("\xe9t\xe9 \xff")},
      {"\xe2\x82\xac uro", std::nullopt},  // the euro sign lies outside ISO-8859-1
      {"\xce\xb1\xce\xb2", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typedUtf8);
    const wxString typed = wxString::FromUTF8(c.typedUtf8);
    EXPECT_EQ(PhraseTextToBytes(typed), c.bytes);
    if (c.bytes) {
      EXPECT_EQ(PhraseBytesToText(*c.bytes), typed);
    }
  }
}
