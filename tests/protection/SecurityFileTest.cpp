// The security file and the auth file: whole files against the expected bytes, the match key
// against an MD5 computed here with another library, and the line limit.
#include "DocumentBaseList.h"
#include "EntryLine.h"
#include "LineList.h"
#include "Md5Digest.h"
#include "ProtectionTestFiles.h"
#include "SaveLines.h"
#include "SecurityFile.h"

#include <gtest/gtest.h>
#include <nettle/md5.h>

#include <optional>

namespace {

struct Entry {
  std::string site;
  int day = 0, month = 0, year = 0;  // day 0: no expiry
};

struct FileCase {
  std::string name;
  std::vector<Entry> codeBases;
  std::vector<Entry> documentBases;
  bool internal = true;
  std::optional<Entry> globalDate;  // only the date fields count
  std::string phrase;
  std::string expectedSecurityFile;
  std::string expectedAuthFile;  // empty: not compared
};

std::string Joined(const LineList& lines) {
  std::string bytes;
  for (size_t i = 0; i < lines.Count(); ++i) bytes += lines.GetLine(i);
  return bytes;
}

void AddTo(DocumentBaseList& list, const Entry& entry) {
  if (entry.day == 0) EXPECT_TRUE(list.Add(entry.site));
  else EXPECT_TRUE(list.AddWithExpiry(entry.site, entry.day, entry.month, entry.year));
}

void AddTo(SecurityFile& file, const Entry& entry) {
  if (entry.day == 0) EXPECT_TRUE(file.AddCodeBase(entry.site));
  else EXPECT_TRUE(file.AddCodeBaseWithExpiry(entry.site, entry.day, entry.month, entry.year));
}

/// The file's lines without their CR LF; fails when a line ends otherwise.
std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "bare LF in line " << lines.size();
    start = end + 2;
  }
  return lines;
}

std::string NettleMd5Hex(const std::string& bytes) {
  md5_ctx context;
  md5_init(&context);
  md5_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
  uint8_t digest[MD5_DIGEST_SIZE];
  md5_digest(&context, sizeof digest, digest);
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

/// The phrase, then every non-blank line after the head's "$start-security-key-update".
std::string ExpectedKeyOf(const std::vector<std::string>& lines, const std::string& phrase) {
  std::string sealed = phrase;
  for (size_t i = 7; i < lines.size(); ++i) sealed += lines[i];
  return NettleMd5Hex(sealed);
}

std::string BuildSecurityFile(const FileCase& c, DocumentBaseList& documentBases) {
  SecurityFile file;
  for (const Entry& entry : c.codeBases) AddTo(file, entry);
  for (const Entry& entry : c.documentBases) AddTo(documentBases, entry);
  if (c.internal) file.SetDocumentBaseList(&documentBases);
  if (c.globalDate) file.SetExpireDate(c.globalDate->day, c.globalDate->month, c.globalDate->year);
  Md5Digest digest;
  digest.Update(c.phrase);
  LineList lines;
  file.Build(digest, lines);
  return Joined(lines);
}

const std::vector<Entry> kCodeBases = {{"www.harwelco.example"}, {"media.harwelco.example", 1, 12, 2011}};
const std::vector<Entry> kDocumentBases = {{"http://www.harwelco.example/videos/"},
                                           {"http://partner.example/page?a=1&b=2", 5, 3, 2010}};

const std::vector<FileCase> kFileCases = {
    {"internal, expiring entries, global date", kCodeBases, kDocumentBases, true, Entry{"", 31, 12, 2012},
     "my secret phrase", "security_internal.txt", ""},
    {"external, no global date", kCodeBases, kDocumentBases, false, std::nullopt, "my secret phrase",
     "security_external.txt", "auth_external.txt"},
    {"empty phrase",
     {{"10.0.0.7"}},
     {{"http://10.0.0.7/"}},
     true,
     Entry{"", 1, 1, 2020},
     "",
     "security_empty_phrase.txt",
     ""},
};

}  // namespace

TEST(SecurityFile, FilesMatchTheExpectedBytesAndTheirKeys) {
  for (const FileCase& c : kFileCases) {
    SCOPED_TRACE(c.name);
    DocumentBaseList documentBases;
    const std::string bytes = BuildSecurityFile(c, documentBases);
    ExpectMatchesExpectedFile(bytes, c.expectedSecurityFile);

    const std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_GT(lines.size(), 7u);
    EXPECT_EQ(lines[3], "$security-match-key");
    EXPECT_EQ(lines[4], ExpectedKeyOf(lines, c.phrase));
    EXPECT_EQ(lines[6], "$start-security-key-update");

    if (!c.expectedAuthFile.empty()) {
      LineList auth;
      documentBases.WriteSection(auth);
      ExpectMatchesExpectedFile(Joined(auth), c.expectedAuthFile);
      SplitCrLf(Joined(auth));
    }
  }
}

TEST(SecurityFile, SameInputGivesTheSameFileAndTheKeyFollowsEveryInput) {
  const FileCase& base = kFileCases[0];
  DocumentBaseList first;
  DocumentBaseList second;
  EXPECT_EQ(BuildSecurityFile(base, first), BuildSecurityFile(base, second));

  auto keyOf = [](const FileCase& c) {
    DocumentBaseList documentBases;
    return SplitCrLf(BuildSecurityFile(c, documentBases)).at(4);
  };
  const std::string baseKey = keyOf(base);
  FileCase otherPhrase = base;
  otherPhrase.phrase = "my secret phrasE";
  FileCase otherSite = base;
  otherSite.codeBases[0].site = "www.harwelco.exampl";
  FileCase otherDate = base;
  otherDate.globalDate->year = 2013;
  FileCase external = base;
  external.internal = false;
  for (const FileCase* changed : {&otherPhrase, &otherSite, &otherDate, &external}) EXPECT_NE(keyOf(*changed), baseKey);
}

TEST(SecurityFile, BlankLinesTakeNoPartInTheKey) {
  LineList body;
  body.AddComment("------------- Codebase list ---------------");
  body.AddLine("$code-base-list");
  body.AddLine("www.harwelco.example");
  LineList spaced;
  spaced.AddBlank();
  spaced.AppendAll(body);
  spaced.InsertLine(2, "");
  spaced.AddBlank();
  LineList changed = body;
  changed.AddLine("x");

  auto keyOf = [](const LineList& lines, const std::string& phrase) {
    Md5Digest digest;
    digest.Update(phrase);
    return ComputeMatchKey(digest, lines);
  };
  const std::string key = keyOf(body, "phrase");
  EXPECT_EQ(key, NettleMd5Hex("phrase#------------- Codebase list ---------------"
                              "$code-base-listwww.harwelco.example"));
  EXPECT_EQ(keyOf(spaced, "phrase"), key);
  EXPECT_NE(keyOf(changed, "phrase"), key);
  // A line holding a single blank is not a blank line.
  LineList withSpace = body;
  withSpace.AddLine(" ");
  EXPECT_NE(keyOf(withSpace, "phrase"), key);
}

TEST(SecurityFile, WithoutCodeBasesTheBlockKeepsItsFrame) {
  SecurityFile file;
  Md5Digest digest;
  LineList lines;
  file.Build(digest, lines);
  const std::string bytes = Joined(lines);
  EXPECT_NE(bytes.find("$code-base-list\r\n\r\n\r\n#-------------------------------------------\r\n"
                       "#------ Document base list is external -----\r\n"),
            std::string::npos)
      << bytes;
  const std::vector<std::string> split = SplitCrLf(bytes);
  EXPECT_EQ(split.at(4), ExpectedKeyOf(split, ""));
}

TEST(SecurityFile, EntryLinesLongerThanThePlayerReadsAreRefused) {
  const std::string longest(kMaxEntryLineLength, 'a');
  const std::string tooLong(kMaxEntryLineLength + 1, 'a');
  // ",expire:" and "1-12-2011" take 17 characters.
  const std::string longestWithDate(kMaxEntryLineLength - 17, 'b');

  SecurityFile file;
  EXPECT_TRUE(file.AddCodeBase(longest));
  EXPECT_FALSE(file.AddCodeBase(tooLong));
  EXPECT_TRUE(file.AddCodeBaseWithExpiry(longestWithDate, 1, 12, 2011));
  EXPECT_FALSE(file.AddCodeBaseWithExpiry(longestWithDate + "b", 1, 12, 2011));
  DocumentBaseList documentBases;
  EXPECT_TRUE(documentBases.Add(longest));
  EXPECT_FALSE(documentBases.Add(tooLong));
  EXPECT_TRUE(documentBases.AddWithExpiry(longestWithDate, 1, 12, 2011));
  EXPECT_FALSE(documentBases.AddWithExpiry(longestWithDate + "b", 1, 12, 2011));
  file.SetDocumentBaseList(&documentBases);

  Md5Digest digest;
  LineList lines;
  file.Build(digest, lines);
  for (const std::string& line : SplitCrLf(Joined(lines))) EXPECT_LE(line.size(), kMaxEntryLineLength);
  const std::string bytes = Joined(lines);
  EXPECT_NE(bytes.find(longestWithDate + ",expire:1-12-2011\r\n"), std::string::npos);
}

TEST(SecurityFile, DatesAreWrittenWithoutLeadingZeros) {
  EXPECT_EQ(FormatDate(5, 3, 2010), "5-3-2010");
  EXPECT_EQ(FormatDate(1, 12, 2011), "1-12-2011");
  EXPECT_EQ(EntryLine("host", 1, 12, 2011), "host,expire:1-12-2011");
}

TEST(SaveLines, WritesTheBytesAndReplacesAnExistingFile) {
  TempDir folder;
  LineList lines;
  lines.AddLine("first");
  lines.AddBlank();
  lines.AddComment("third");
  const std::string path = folder.File("out.txt");
  WriteWholeFile(path, std::string(100, 'x'));
  ASSERT_TRUE(SaveLines(kLinesToFile, path, lines));
  EXPECT_EQ(ReadWholeFile(path), "first\r\n\r\n#third\r\n");

  EXPECT_FALSE(SaveLines(1, folder.File("other-kind.txt"), lines));
  EXPECT_FALSE(FileExists(folder.File("other-kind.txt")));
  EXPECT_FALSE(SaveLines(kLinesToFile, folder.File("missing/out.txt"), lines));
}
