// Building nodes of every kind, linking them as siblings and children, and attributes.
#include "XmlTestSupport.h"
#include "wxXml2Node.h"
#include "wxXml2TextElement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using xmltest::BodyText;
using xmltest::LiveBlocks;

namespace {

class NodeBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    before = LiveBlocks();
    ASSERT_TRUE(doc.Create());
    root.CreateRoot(doc, "r");
  }
  void TearDown() override {
    root = wxXml2EmptyNode;
    doc = wxXml2EmptyDoc;
    EXPECT_EQ(LiveBlocks(), before) << "something the test built was not freed";
  }

  long before = 0;
  wxXml2Document doc;
  wxXml2Node root;
};

TEST_F(NodeBuild, BuildsEachKindWhereItBelongs) {
  constexpr int kEmpty = -1;
  enum Place { UnderRoot, InDocument, Nowhere };
  struct Case {
    xmlElementType type;
    Place place;
    const char* name;
    const char* content;
    std::string expectedTree;
    int expectedType;  // of the node the wrapper holds afterwards
    bool expectedUnlinked;
  };
  const std::vector<Case> cases = {
      {XML_ELEMENT_NODE, UnderRoot, "a", "", "<r><a/></r>", XML_ELEMENT_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "a", "x<y", "<r><a>x&lt;y</a></r>", XML_ELEMENT_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "", "hi", "<r>hi</r>", XML_TEXT_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "", "&e;", "<r>&e;</r>", XML_ENTITY_REF_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "a", "&e;", "<r><a>&e;</a></r>", XML_ELEMENT_NODE, false},
      // Not references: no name between "&" and ";".
      {XML_TEXT_NODE, UnderRoot, "", "&;", "<r>&amp;;</r>", XML_TEXT_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "", "& b;", "<r>&amp; b;</r>", XML_TEXT_NODE, false},
      {XML_TEXT_NODE, UnderRoot, "a", "&", "<r><a>&amp;</a></r>", XML_ELEMENT_NODE, false},
      {XML_CDATA_SECTION_NODE, UnderRoot, "c", "1<2", "<r><![CDATA[1<2]]></r>", XML_CDATA_SECTION_NODE, false},
      {XML_COMMENT_NODE, UnderRoot, "", "note", "<r><!--note--></r>", XML_COMMENT_NODE, false},
      // A processing instruction goes before the root, also when only a parent is given.
      {XML_PI_NODE, InDocument, "pi", "data", "<?pi data?>\n<r/>", XML_PI_NODE, false},
      {XML_PI_NODE, UnderRoot, "pi", "data", "<?pi data?>\n<r/>", XML_PI_NODE, false},
      // Without a parent: nodes of the document linked nowhere.
      {XML_ELEMENT_NODE, InDocument, "a", "", "<r/>", XML_ELEMENT_NODE, true},
      {XML_TEXT_NODE, InDocument, "", "t", "<r/>", XML_TEXT_NODE, true},
      {XML_TEXT_NODE, InDocument, "", "&e;", "<r/>", XML_ENTITY_REF_NODE, true},
      {XML_CDATA_SECTION_NODE, InDocument, "c", "d", "<r/>", XML_CDATA_SECTION_NODE, true},
      {XML_COMMENT_NODE, InDocument, "", "note", "<r/>", XML_COMMENT_NODE, true},
      {XML_PI_NODE, Nowhere, "pi", "data", "<r/>", XML_PI_NODE, true},
      // Kinds that cannot be built.
      {XML_ATTRIBUTE_NODE, UnderRoot, "a", "v", "<r/>", kEmpty, true},
      {XML_DOCUMENT_NODE, InDocument, "a", "", "<r/>", kEmpty, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " place " << c.place << " name " << c.name << " content "
                                    << c.content);
    wxXml2Document caseDoc;
    ASSERT_TRUE(caseDoc.Create());
    wxXml2Node caseRoot;
    caseRoot.CreateRoot(caseDoc, "r");

    wxXml2Node node;
    node.Build(c.type, c.place == UnderRoot ? caseRoot : wxXml2EmptyNode,
               c.place == InDocument ? caseDoc : wxXml2EmptyDoc, wxXml2EmptyNamespace, c.name, c.content,
               wxXml2EmptyProperty, wxXml2EmptyNode, wxXml2EmptyNode, wxXml2EmptyNode);

    EXPECT_EQ(BodyText(caseDoc), c.expectedTree);
    EXPECT_EQ(node.IsOk() ? static_cast<int>(node.GetObj()->type) : kEmpty, c.expectedType);
    EXPECT_EQ(node.IsUnlinked(), c.expectedUnlinked);
  }
}

TEST_F(NodeBuild, NamedEntityTextIsAnElementAroundTheReference) {
  wxXml2Node element;
  element.CreateChild(XML_TEXT_NODE, root, "a", "&e;");
  const wxXml2Node reference = element.GetChildren();
  ASSERT_TRUE(reference.IsOk());
  EXPECT_EQ(reference.GetObj()->type, XML_ENTITY_REF_NODE);
  EXPECT_EQ(reference.GetName(), "e");
  EXPECT_FALSE(reference.GetNext().IsOk());
}

TEST_F(NodeBuild, TextNextToTextStaysItsOwnHeldNode) {
  // libxml2's own linking would merge these texts and free the node a wrapper holds.
  wxXml2Node first, second, x, y;
  first.CreateChild(XML_TEXT_NODE, root, "", "one");
  second.CreateChild(XML_TEXT_NODE, root, "", "two");
  // x is appended, then its next argument is moved after it; y is appended, then its
  // previous argument is moved before it.
  x.Build(XML_TEXT_NODE, root, wxXml2EmptyDoc, wxXml2EmptyNamespace, "", "x", wxXml2EmptyProperty, first,
          wxXml2EmptyNode, wxXml2EmptyNode);
  y.Build(XML_TEXT_NODE, root, wxXml2EmptyDoc, wxXml2EmptyNamespace, "", "y", wxXml2EmptyProperty, wxXml2EmptyNode,
          second, wxXml2EmptyNode);

  EXPECT_EQ(BodyText(doc), "<r>xonetwoy</r>");
  EXPECT_EQ(GetNodeText(root), "xonetwoy");
  EXPECT_EQ(first.GetContent(), "one");
  EXPECT_EQ(second.GetContent(), "two");
  EXPECT_EQ(x.GetNext().GetObj(), first.GetObj());
  EXPECT_EQ(second.GetNext().GetObj(), y.GetObj());
}

TEST_F(NodeBuild, SiblingPropertyAndChildArgumentsArePlaced) {
  wxXml2Node a;
  a.CreateChild(XML_ELEMENT_NODE, root, "a");
  {
    wxXml2Node holder;  // unlinked: goes with its attributes after the attribute wrapper
    holder.CreateTemp(XML_ELEMENT_NODE, doc, "holder");
    holder.AddProperty("k", "v");
    holder.AddProperty("other", "o");
    const wxXml2Property model = holder.GetProperties();

    wxXml2Node b;  // after a, moved before it by its next argument, with the attribute
    b.CreateChild(XML_ELEMENT_NODE, root, "b", "", wxXml2EmptyNamespace, model, a);
  }
  wxXml2Node subtree;
  subtree.CreateTemp(XML_ELEMENT_NODE, doc, "sub");
  AddTextElement(subtree, "leaf", "1");
  wxXml2Node c;  // appended; its previous argument b is moved before it; takes the subtree
  wxXml2Node b = root.GetChildren();
  c.Build(XML_ELEMENT_NODE, root, wxXml2EmptyDoc, wxXml2EmptyNamespace, "c", "", wxXml2EmptyProperty, wxXml2EmptyNode,
          b, subtree);

  // Only the given attribute is copied, not those after it.
  EXPECT_EQ(BodyText(doc), "<r><a/><b k=\"v\"/><c><sub><leaf>1</leaf></sub></c></r>");
  EXPECT_FALSE(subtree.IsUnlinked());
}

TEST_F(NodeBuild, AddChildMovesNodesButNeverBreaksTheTree) {
  wxXml2Node a, b;
  a.CreateChild(XML_ELEMENT_NODE, root, "a");
  b.CreateChild(XML_ELEMENT_NODE, a, "b");

  b.AddChild(root);  // an ancestor under its descendant: refused
  a.AddChild(a);     // itself: refused
  root.AddChild(b);  // moved from a to the root
  EXPECT_EQ(BodyText(doc), "<r><a/><b/></r>");

  wxXml2Document other;
  ASSERT_TRUE(other.Create());
  {
    wxXml2Node foreign;
    foreign.CreateRoot(other, "foreign");
    root.AddChild(foreign);  // another document's node: refused
    wxXml2Node text;
    text.CreateTemp(XML_TEXT_NODE, doc, "", "t");
    text.AddChild(a);  // a text node has no children
  }
  EXPECT_EQ(BodyText(doc), "<r><a/><b/></r>");
  EXPECT_EQ(BodyText(other), "<foreign/>");
  // Releasing in any order of the node wrappers is fine while the documents are held.
  b = wxXml2EmptyNode;
  a = wxXml2EmptyNode;
}

TEST_F(NodeBuild, AddChildGivesTheWholeSubtreeTheParentsNamespace) {
  struct Case {
    bool parentUsesIt;  // the parent's own namespace, or only one declared on it
    std::string expectedTree;
  };
  const std::vector<Case> cases = {
      {true, "<p:r xmlns:p=\"urn:p\"><p:a xmlns:q=\"urn:q\"><p:b>t</p:b></p:a></p:r>"},
      {false, "<r xmlns:p=\"urn:p\"><p:a xmlns:q=\"urn:q\"><p:b>t</p:b></p:a></r>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parentUsesIt);
    wxXml2Document caseDoc;
    ASSERT_TRUE(caseDoc.Create());
    wxXml2Node caseRoot;
    caseRoot.CreateRoot(caseDoc, "r");
    xmlNs* ns = xmlNewNs(caseRoot.GetObj(), BAD_CAST "urn:p", BAD_CAST "p");
    if (c.parentUsesIt) xmlSetNs(caseRoot.GetObj(), ns);
    // A subtree with a namespace of its own, which the parent's replaces.
    wxXml2Node a;
    a.CreateTemp(XML_ELEMENT_NODE, caseDoc, "a");
    xmlNs* own = xmlNewNs(a.GetObj(), BAD_CAST "urn:q", BAD_CAST "q");
    {
      wxXml2Node b;
      b.CreateChild(XML_TEXT_NODE, a, "b", "t");
      xmlSetNs(b.GetObj(), own);
    }

    caseRoot.AddChild(a);
    EXPECT_EQ(BodyText(caseDoc), c.expectedTree);
    EXPECT_EQ(a.GetNamespace().GetURI(), "urn:p");
    EXPECT_EQ(a.GetNamespace().GetOwner(), a.GetObj());
  }
}

TEST_F(NodeBuild, PropertiesAreAddedReadAndReplaced) {
  wxXml2Property first = root.AddProperty("width", "320");
  root.AddProperty("height", "240");
  EXPECT_EQ(first.GetName(), "width");
  EXPECT_EQ(first.GetValue(), "320");
  EXPECT_EQ(first.GetNext().GetName(), "height");
  EXPECT_FALSE(first.GetNext().GetNext().IsOk());

  wxXml2Node other;
  other.CreateChild(XML_ELEMENT_NODE, root, "o");
  other.AddProperty("width", "640");
  root.AddProperty(other.GetProperties());  // replaces width, keeps height
  EXPECT_EQ(BodyText(doc), "<r width=\"640\" height=\"240\"><o width=\"640\"/></r>");

  // Values are kept literally.
  root.AddProperty("q", "a<\"&\"");
  EXPECT_EQ(root.GetProperties().GetNext().GetNext().GetValue(), "a<\"&\"");

  wxXml2Node text;
  text.CreateChild(XML_TEXT_NODE, root, "", "t");
  EXPECT_FALSE(text.AddProperty("k", "v").IsOk());  // only elements have attributes
  EXPECT_FALSE(wxXml2Node().AddProperty("k", "v").IsOk());
}

TEST(NodeNavigation, EmptyWrappersGiveEmptyResults) {
  const wxXml2Node empty;
  EXPECT_FALSE(empty.GetNext().IsOk());
  EXPECT_FALSE(empty.GetChildren().IsOk());
  EXPECT_FALSE(empty.GetProperties().IsOk());
  EXPECT_FALSE(empty.GetNamespace().IsOk());
  EXPECT_FALSE(empty.GetNamespaceDecl().IsOk());
  EXPECT_FALSE(empty.GetDoc().IsOk());
  EXPECT_EQ(empty.GetName(), "");
  EXPECT_EQ(empty.GetContent(), "");
  EXPECT_FALSE(empty.Find("x").IsOk());
  EXPECT_EQ(GetNodeText(empty), "");
  EXPECT_EQ(wxXml2Property().GetName(), "");
  EXPECT_EQ(wxXml2Property().GetValue(), "");
  EXPECT_FALSE(wxXml2Property().GetNext().IsOk());
  EXPECT_EQ(wxXml2Namespace().GetPrefix(), "");
  EXPECT_EQ(wxXml2Namespace().GetURI(), "");
  EXPECT_FALSE(wxXml2BaseNode().GetNext().IsOk());
  EXPECT_FALSE(wxXml2EmptyDoc.GetRoot().IsOk());

  wxXml2Node built;  // a type that cannot be built leaves later operations without effect
  built.Build(XML_DOCUMENT_TYPE_NODE, wxXml2EmptyNode, wxXml2EmptyDoc, wxXml2EmptyNamespace, "x", "",
              wxXml2EmptyProperty, wxXml2EmptyNode, wxXml2EmptyNode, wxXml2EmptyNode);
  EXPECT_FALSE(built.IsOk());
  built.AddChild(wxXml2EmptyNode);
  EXPECT_FALSE(built.GetChildren().IsOk());
}

TEST(NodeNavigation, WalksALoadedTree) {
  wxXml2Document doc;
  ASSERT_TRUE(xmltest::LoadText(
      doc, "<!DOCTYPE r [<!ENTITY e \"ent\">]><r xmlns:p='urn:p' k='v'><p:a>text</p:a><!--c-->&e;</r>"));
  const wxXml2Node root = doc.GetRoot();
  EXPECT_EQ(root.GetDoc().GetObj(), doc.GetObj());
  EXPECT_EQ(root.GetNamespaceDecl().GetPrefix(), "p");
  EXPECT_FALSE(root.GetNamespace().IsOk());
  EXPECT_EQ(root.GetProperties().GetValue(), "v");

  const wxXml2Node a = root.GetChildren();
  EXPECT_EQ(a.GetName(), "a");
  EXPECT_EQ(a.GetNamespace().GetURI(), "urn:p");
  EXPECT_EQ(a.GetContent(), "");  // an element has no content of its own
  EXPECT_EQ(a.GetChildren().GetContent(), "text");
  const wxXml2Node comment = a.GetNext();
  EXPECT_EQ(comment.GetContent(), "c");
  const wxXml2Node reference = comment.GetNext();
  ASSERT_EQ(reference.GetObj()->type, XML_ENTITY_REF_NODE);
  // The reference's children field is libxml2's link to the declaration, not a child.
  EXPECT_FALSE(reference.GetChildren().IsOk());
  EXPECT_FALSE(wxXml2BaseNode(reference.GetObj()).GetChildren().IsOk());
  EXPECT_FALSE(reference.GetNext().IsOk());
}

TEST(NodeComparison, NodesPropertiesAndNamespacesCompareByTheirRules) {
  struct Case {
    std::string left;
    std::string right;
    bool match;            // wxXml2Node::Match of the roots' first children
    bool equal;            // wxXml2Node::operator==
    bool propertiesEqual;  // of their first attributes
  };
  const std::vector<Case> cases = {
      {"<a/>", "<A/>", true, true, true},
      {"<a/>", "<b/>", false, false, true},
      {"text", "text", true, true, true},
      {"text", "Text", false, false, true},  // contents compare exactly
      {"text", "text ", false, false, true},
      {"<a/>", "<!--a-->", false, false, true},  // different kinds
      {"<x:a xmlns:x='urn:u'/>", "<a/>", true, false, true},
      {"<x:a xmlns:x='urn:u'/>", "<x:a xmlns:x='URN:U'/>", true, true, true},   // URIs ignore case
      {"<x:a xmlns:x='urn:u'/>", "<X:a xmlns:X='urn:u'/>", true, false, true},  // prefixes do not
      {"<a K='v'/>", "<a k='v'/>", true, true, true},                           // attribute names ignore case
      {"<a k='v'/>", "<a k='V'/>", true, true, false},                          // values do not
      {"<a k='v'/>", "<a/>", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left + " / " + c.right);
    wxXml2Document left, right;
    ASSERT_TRUE(xmltest::LoadText(left, "<r>" + c.left + "</r>"));
    ASSERT_TRUE(xmltest::LoadText(right, "<r>" + c.right + "</r>"));
    const wxXml2Node l = left.GetRoot().GetChildren();
    const wxXml2Node r = right.GetRoot().GetChildren();
    EXPECT_EQ(l.Match(r), c.match);
    EXPECT_EQ(l == r, c.equal);
    EXPECT_EQ(r == l, c.equal);
    EXPECT_EQ(l.GetProperties() == r.GetProperties(), c.propertiesEqual);
    EXPECT_FALSE(l.Match(wxXml2EmptyNode));
  }
}

}  // namespace
