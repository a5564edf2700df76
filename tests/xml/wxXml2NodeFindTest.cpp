// Depth-first search for elements by name, with its index counter.
#include "XmlTestSupport.h"
#include "wxXml2Node.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

/// The "id" attribute of the found element; "none" when nothing was found.
std::string IdOf(const wxXml2Node& node) {
  if (!node.IsOk()) return "none";
  for (wxXml2Property p = node.GetProperties(); p.IsOk(); p = p.GetNext()) {
    if (p.GetName() == "id") return p.GetValue().ToStdString();
  }
  return "no id";
}

TEST(NodeFind, FindsInPreOrderWithAPerSiblingCounter) {
  struct Case {
    std::string xml;  // searched from its root
    const char* name;
    int index;
    bool fullEquality;
    bool recursive;
    std::string expectedId;
  };
  const std::vector<Case> cases = {
      // The first match in document order, at any depth; names ignore case.
      {"<r><a><stream id='1'/></a></r>", "STREAM", 0, true, true, "1"},
      {"<r><a/><Stream id='1'/></r>", "stream", 0, true, true, "1"},
      {"<r><a><s id='1'/></a><s id='2'/></r>", "s", 0, true, true, "1"},
      // The node searched from is not tested itself.
      {"<s id='0'><s id='1'/></s>", "s", 0, true, true, "1"},
      {"<s id='0'/>", "s", 0, true, true, "none"},
      // The index counts matches.
      {"<r><s id='1'/><s id='2'/><s id='3'/></r>", "s", 1, true, true, "2"},
      {"<r><s id='1'/><s id='2'/><s id='3'/></r>", "s", 2, true, true, "3"},
      {"<r><s id='1'/><s id='2'/><s id='3'/></r>", "s", 3, true, true, "none"},
      // A match's subtree is searched right after it, with the counter it left.
      {"<r><s id='1'><s id='1.1'/></s><s id='2'/></r>", "s", 1, true, true, "1.1"},
      // What a sibling's subtree used up does not reach the next siblings.
      {"<r><x><s id='1'/></x><s id='2'/><s id='3'/></r>", "s", 1, true, true, "3"},
      {"<r><s id='1'><s id='1.1'/></s><s id='2'/><s id='3'/></r>", "s", 2, true, true, "3"},
      // Without recursion only the children count.
      {"<r><a><s id='1'/></a></r>", "s", 0, true, false, "none"},
      {"<r><a><s id='1'/></a><s id='2'/></r>", "s", 0, true, false, "2"},
      // Full equality wants no namespace; matching alone ignores it.
      {"<r xmlns:p='urn:p'><p:s id='1'/><s id='2'/></r>", "s", 0, true, true, "2"},
      {"<r xmlns:p='urn:p'><p:s id='1'/><s id='2'/></r>", "s", 0, false, true, "1"},
      // Only elements match: text, comments and instructions named alike do not.
      {"<r><!--s--><?s x?>s<s id='1'/></r>", "s", 0, true, true, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.xml << " name " << c.name << " index " << c.index << " full " << c.fullEquality
                                    << " recursive " << c.recursive);
    wxXml2Document doc;
    ASSERT_TRUE(xmltest::LoadText(doc, c.xml));
    const wxXml2Node found = doc.GetRoot().Find(c.name, "", c.index, c.fullEquality, c.recursive);
    EXPECT_EQ(IdOf(found), c.expectedId);
    if (!found.IsOk()) {
      EXPECT_TRUE(found == wxXml2EmptyNode);
    }
  }
}

TEST(NodeFind, ContentTakesNoPartAndTheSearchLeavesNothingBehind) {
  const long before = xmltest::LiveBlocks();
  {
    wxXml2Document doc;
    ASSERT_TRUE(xmltest::LoadText(doc, "<r><s id='1'>text</s></r>"));
    const long loaded = xmltest::LiveBlocks();
    EXPECT_EQ(IdOf(doc.GetRoot().Find("s", "other text")), "1");
    EXPECT_EQ(xmltest::LiveBlocks(), loaded);  // the search pattern was freed
  }
  EXPECT_EQ(xmltest::LiveBlocks(), before);
}

}  // namespace
