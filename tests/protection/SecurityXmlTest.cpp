// The security XML: the writer's file against expected bytes, and the reader over the
// writer's layout, over files written on one line, in upper case or under another root.
#include "ProtectionTestFiles.h"
#include "SecurityXmlReader.h"
#include "SecurityXmlWriter.h"

#include <gtest/gtest.h>

namespace {

SecurityXmlContent SampleContent() {
  SecurityXmlContent content;
  content.hasExpireDate = true;
  content.expireDate = "05-03-2010";
  content.codeBases = {{"www.harwelco.example", ""}, {"media.harwelco.example", "1-12-2011"}};
  content.documentBases = {{"http://www.harwelco.example/videos/", "05-03-2010"},
                           {"http://partner.example/page?a=1&b=2", ""}};
  content.mode = "External";
  return content;
}

struct Record {
  std::string text;
  std::vector<std::pair<std::string, std::string>> attributes;
  bool operator==(const Record& other) const { return text == other.text && attributes == other.attributes; }
};

std::ostream& operator<<(std::ostream& out, const Record& record) {
  out << "{\"" << record.text << "\"";
  for (const auto& attribute : record.attributes) out << " " << attribute.first << "=\"" << attribute.second << "\"";
  return out << "}";
}

std::vector<Record> Records(const wxString& name, const wxXml2Document& document) {
  std::vector<Record> records;
  for (const elementRecord& record : ReadElements(name, document)) {
    Record plain{record.text.utf8_string(), {}};
    for (const auto& attribute : record.attributes)
      plain.attributes.emplace_back(attribute.first.utf8_string(), attribute.second.utf8_string());
    records.push_back(plain);
  }
  return records;
}

class SecurityXmlTest : public ::testing::Test {
 protected:
  wxXml2Document LoadText(const std::string& xml) {
    const std::string path = folder.File("lists.xml");
    WriteWholeFile(path, xml);
    wxXml2Document document;
    wxString errors;
    EXPECT_TRUE(document.Load(path, &errors)) << errors;
    return document;
  }

  TempDir folder;
};

const char* const kOneLine =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><security>"
    "<license_expire_date>05-03-2010</license_expire_date><SECTION_CODEBASE>"
    "<codebase expire=\"1-1-2011\">a</codebase><codebase>b</codebase><!-- kept for later -->"
    "<codebase>c</codebase>text between<codebase>d</codebase></SECTION_CODEBASE>"
    "<SECTION_DOCUMENTBASE mode=\"External\"><documentbase>d1</documentbase>"
    "<documentbase expire=\"2-2-2012\">d2</documentbase><documentbase>d3</documentbase>"
    "</SECTION_DOCUMENTBASE></security>";

}  // namespace

TEST_F(SecurityXmlTest, WriterFileMatchesTheExpectedBytes) {
  wxXml2Document document;
  ASSERT_TRUE(BuildSecurityDocument(SampleContent(), document));
  const std::string path = folder.File("lists.xml");
  ASSERT_TRUE(SaveSecurityDocument(document, path));
  ExpectMatchesExpectedFile(ReadWholeFile(path), "security_lists.xml");
}

TEST_F(SecurityXmlTest, WithoutGlobalDateOrExpiryNothingOfThemIsWritten) {
  SecurityXmlContent content = SampleContent();
  content.hasExpireDate = false;
  wxXml2Document document;
  ASSERT_TRUE(BuildSecurityDocument(content, document));
  EXPECT_TRUE(Records("license_expire_date", document).empty());
  const std::vector<Record> codeBases = Records("codebase", document);
  ASSERT_EQ(codeBases.size(), 2u);
  EXPECT_TRUE(codeBases[0].attributes.empty());
}

TEST_F(SecurityXmlTest, SavedFileReadsBackEveryEntry) {
  wxXml2Document written;
  ASSERT_TRUE(BuildSecurityDocument(SampleContent(), written));
  const std::string path = folder.File("lists.xml");
  ASSERT_TRUE(SaveSecurityDocument(written, path));
  wxXml2Document document;
  ASSERT_TRUE(document.Load(path));

  EXPECT_EQ(Records("codebase", document),
            (std::vector<Record>{{"www.harwelco.example", {}}, {"media.harwelco.example", {{"expire", "1-12-2011"}}}}));
  // "&" stays a character of the address.
  EXPECT_EQ(Records("documentbase", document),
            (std::vector<Record>{{"http://www.harwelco.example/videos/", {{"expire", "05-03-2010"}}},
                                 {"http://partner.example/page?a=1&b=2", {}}}));
  const std::vector<Record> sections = Records("SECTION_DOCUMENTBASE", document);
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].attributes, (std::vector<std::pair<std::string, std::string>>{{"mode", "External"}}));
  // The global date is followed by the two sections, whose text is the layout's whitespace.
  const std::vector<Record> dates = Records("license_expire_date", document);
  ASSERT_EQ(dates.size(), 3u);
  EXPECT_EQ(dates[0].text, "05-03-2010");
  EXPECT_EQ(dates[1].text.find_first_not_of(" \r\n"), std::string::npos);
}

TEST_F(SecurityXmlTest, ElementsWithoutWhitespaceBetweenThemAllLoad) {
  const wxXml2Document document = LoadText(kOneLine);
  EXPECT_EQ(Records("codebase", document),
            (std::vector<Record>{{"a", {{"expire", "1-1-2011"}}}, {"b", {}}, {"c", {}}, {"d", {}}}));
  EXPECT_EQ(Records("documentbase", document),
            (std::vector<Record>{{"d1", {}}, {"d2", {{"expire", "2-2-2012"}}}, {"d3", {}}}));
  const std::vector<Record> dates = Records("license_expire_date", document);
  ASSERT_EQ(dates.size(), 3u);
  EXPECT_EQ(dates[0].text, "05-03-2010");
}

TEST_F(SecurityXmlTest, UpperCaseNamesAndAnotherRootLoad) {
  const wxXml2Document upper = LoadText(
      "<?xml version=\"1.0\"?>\n<SECURITY>\n<SECTION_CODEBASE>\n"
      "<CODEBASE EXPIRE=\"3-4-2015\">host</CODEBASE>\n</SECTION_CODEBASE>\n"
      "<section_documentbase MODE=\"External\">\n<DOCUMENTBASE>page</DOCUMENTBASE>\n"
      "</section_documentbase>\n</SECURITY>\n");
  EXPECT_EQ(Records("codebase", upper), (std::vector<Record>{{"host", {{"EXPIRE", "3-4-2015"}}}}));
  EXPECT_EQ(Records("documentbase", upper), (std::vector<Record>{{"page", {}}}));
  EXPECT_EQ(Records("SECTION_DOCUMENTBASE", upper).size(), 1u);

  const wxXml2Document otherRoot =
      LoadText("<protection><SECTION_CODEBASE><codebase>host</codebase></SECTION_CODEBASE></protection>");
  EXPECT_EQ(Records("codebase", otherRoot), (std::vector<Record>{{"host", {}}}));
  EXPECT_TRUE(Records("SECTION_DOCUMENTBASE", otherRoot).empty());
}
