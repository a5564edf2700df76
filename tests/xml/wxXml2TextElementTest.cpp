// Writing and reading element text, as the application's XML files do.
#include "XmlTestSupport.h"
#include "wxXml2TextElement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TextElement, AddedTextReadsBackAndSurvivesASaveAndLoad) {
  const std::vector<wxString> texts = {
      "320", "", "R&D <main> \"quoted\"", "&amp;", "&e;", " spaced ", wxString::FromUTF8("\xc3\xa9t\xc3\xa9")};
  for (const wxString& text : texts) {
    SCOPED_TRACE(text.ToStdString());
    wxXml2Document doc;
    ASSERT_TRUE(doc.Create());
    wxXml2Node root;
    root.CreateRoot(doc, "video_setting");
    AddTextElement(root, "width", text);

    const wxXml2Node element = root.GetChildren();
    EXPECT_EQ(element.GetName(), "width");
    EXPECT_EQ(element.GetChildren().IsOk(), !text.empty());  // empty text: empty element
    EXPECT_EQ(GetNodeText(element), text);

    // The text is literal: whatever it holds comes back the same from the file.
    const std::string saved = xmltest::SaveText(doc, 3, 4);
    wxXml2Document reloaded;
    ASSERT_TRUE(xmltest::LoadText(reloaded, saved));
    EXPECT_EQ(GetNodeText(reloaded.GetRoot().Find("width")), text);
  }
}

TEST(TextElement, AppendsAfterExistingChildren) {
  wxXml2Document doc;
  ASSERT_TRUE(doc.Create());
  wxXml2Node root;
  root.CreateRoot(doc, "r");
  AddTextElement(root, "a", "1");
  AddTextElement(root, "b", "2");
  EXPECT_EQ(xmltest::BodyText(doc), "<r><a>1</a><b>2</b></r>");
}

TEST(TextElement, NodeTextJoinsOnlyTheTextChildren) {
  struct Case {
    std::string xml;
    wxString expected;
  };
  const std::vector<Case> cases = {
      {"<e>one<child>inner</child>two</e>", "onetwo"},
      {"<e>a<![CDATA[cdata]]>b<!--comment-->c</e>", "abc"},
      {"<!DOCTYPE e [<!ENTITY x 'ent'>]><e>a&x;b</e>", "ab"},
      {"<e>a&amp;b</e>", "a&b"},
      {"<e><child>inner</child></e>", ""},
      {"<e/>", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    wxXml2Document doc;
    ASSERT_TRUE(xmltest::LoadText(doc, c.xml));
    EXPECT_EQ(GetNodeText(doc.GetRoot()), c.expected);
  }
}

}  // namespace
