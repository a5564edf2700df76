// Shared counts and lifetimes of the wrappers of libxml2 objects.
#include "XmlTestSupport.h"
#include "wxXml2DTD.h"
#include "wxXml2Decl.h"
#include "wxXml2HelpWrapper.h"
#include "wxXml2Node.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using xmltest::LiveBlocks;
using xmltest::RefCount;

namespace {

class WrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xmltest::Counting());
    before = LiveBlocks();
  }
  /// Everything the test made is freed again.
  void ExpectAllFreed() { EXPECT_EQ(LiveBlocks(), before); }

  long before = 0;
};

TEST_F(WrapperTest, UnlinkedNodeLivesUntilItsLastWrapperGoes) {
  {
    wxXml2Document doc;
    ASSERT_TRUE(doc.Create());
    const long withDocument = LiveBlocks();

    auto first = std::make_unique<wxXml2Node>();
    first->CreateTemp(XML_ELEMENT_NODE, doc, "loose");
    xmlNode* node = first->GetObj();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(RefCount(node), 1);

    wxXml2Node copy(*first);
    wxXml2Node fromPointer(node);  // made later from the bare pointer: the same count
    EXPECT_EQ(RefCount(node), 3);

    first.reset();
    EXPECT_EQ(RefCount(node), 2);
    fromPointer = wxXml2EmptyNode;
    EXPECT_EQ(RefCount(node), 1);
    EXPECT_EQ(copy.GetName(), "loose");
    EXPECT_GT(LiveBlocks(), withDocument);

    copy = wxXml2EmptyNode;  // the last holder: freed here, not with the document
    EXPECT_FALSE(copy.IsOk());
    EXPECT_EQ(LiveBlocks(), withDocument);
  }
  ExpectAllFreed();
}

TEST_F(WrapperTest, LinkedNodeIsFreedOnlyWithItsDocument) {
  {
    wxXml2Document doc;
    ASSERT_TRUE(doc.Create());
    wxXml2Node root;
    root.CreateRoot(doc, "root");
    xmlNode* child = nullptr;
    {
      wxXml2Node wrapper;
      wrapper.CreateChild(XML_ELEMENT_NODE, root, "child");
      child = wrapper.GetObj();
      EXPECT_EQ(RefCount(child), 1);
    }
    // The count went back to 0, yet the node is still the root's child.
    EXPECT_EQ(RefCount(child), 0);
    EXPECT_EQ(root.GetChildren().GetObj(), child);
    EXPECT_EQ(root.GetChildren().GetName(), "child");
    EXPECT_EQ(xmltest::BodyText(doc), "<root><child/></root>");
  }
  ExpectAllFreed();
}

TEST_F(WrapperTest, DocumentLivesUntilItsLastWrapperGoes) {
  auto first = std::make_unique<wxXml2Document>();
  ASSERT_TRUE(first->Create());
  {
    wxXml2Node root;
    root.CreateRoot(*first, "root");
  }
  wxXml2Document second;
  second = *first;
  EXPECT_EQ(RefCount(second.GetObj()), 2);

  first.reset();
  EXPECT_EQ(RefCount(second.GetObj()), 1);
  EXPECT_EQ(second.GetRoot().GetName(), "root");

  second = wxXml2EmptyDoc;
  ExpectAllFreed();
}

TEST_F(WrapperTest, AssigningAWrapperOfTheSameObjectKeepsItAlive) {
  wxXml2Document doc;
  ASSERT_TRUE(doc.Create());
  const long withDocument = LiveBlocks();
  {
    wxXml2Node node;
    node.CreateTemp(XML_ELEMENT_NODE, doc, "only");
    xmlNode* object = node.GetObj();

    wxXml2Node& alias = node;
    node = alias;  // the last holder assigned to itself
    ASSERT_TRUE(node.IsOk());
    EXPECT_EQ(RefCount(object), 1);

    node = wxXml2Node(object);  // another wrapper of the same object
    EXPECT_EQ(RefCount(object), 1);
    EXPECT_EQ(node.GetName(), "only");

    wxXml2Document& sameDoc = doc;
    doc = sameDoc;
    EXPECT_EQ(RefCount(doc.GetObj()), 1);
  }
  EXPECT_EQ(LiveBlocks(), withDocument);

  // Copies of an empty wrapper are empty.
  wxXml2Node empty(wxXml2EmptyNode);
  wxXml2Property emptyProperty;
  emptyProperty = wxXml2EmptyProperty;
  EXPECT_FALSE(empty.IsOk());
  EXPECT_FALSE(emptyProperty.IsOk());
}

TEST_F(WrapperTest, AttributesAndNamespacesShareCountsAndFreeOnlyWhenLoose) {
  {
    wxXml2Document doc;
    ASSERT_TRUE(doc.Create());
    wxXml2Node root;
    root.CreateRoot(doc, "root");
    const long withTree = LiveBlocks();

    wxXml2Property attribute = root.AddProperty("name", "value");
    wxXml2Property again = root.GetProperties();
    EXPECT_EQ(again.GetObj(), attribute.GetObj());
    EXPECT_EQ(RefCount(attribute.GetObj()), 2);
    attribute = wxXml2EmptyProperty;
    again = wxXml2EmptyProperty;
    EXPECT_EQ(root.GetProperties().GetValue(), "value");  // on its element: not freed

    // Loose objects: the last wrapper frees them.
    const long withAttribute = LiveBlocks();
    {
      wxXml2Property loose(xmlNewProp(nullptr, BAD_CAST "loose", BAD_CAST "v"));
      wxXml2Namespace looseNs(xmlNewNs(nullptr, BAD_CAST "urn:x", BAD_CAST "x"), wxXml2EmptyNode);
      EXPECT_TRUE(loose.IsUnlinked());
      EXPECT_TRUE(looseNs.IsUnlinked());
    }
    EXPECT_EQ(LiveBlocks(), withAttribute);

    // A namespace declared on a node belongs to it.
    xmlNewNs(root.GetObj(), BAD_CAST "urn:p", BAD_CAST "p");
    {
      wxXml2Namespace declared = root.GetNamespaceDecl();
      EXPECT_FALSE(declared.IsUnlinked());
      EXPECT_EQ(declared.GetURI(), "urn:p");
    }
    EXPECT_EQ(root.GetNamespaceDecl().GetPrefix(), "p");
    EXPECT_GT(LiveBlocks(), withTree);
  }
  ExpectAllFreed();
}

TEST_F(WrapperTest, ReplacedRootIsFreedUnlessAWrapperStillHoldsIt) {
  {
    wxXml2Document doc;
    ASSERT_TRUE(doc.Create());
    {
      wxXml2Node unheld;
      unheld.CreateRoot(doc, "first");
    }
    wxXml2Node held;
    held.CreateRoot(doc, "second");  // replaces "first", which nothing holds: freed
    wxXml2Node third;
    third.CreateRoot(doc, "third");  // replaces "second", still held by its wrapper
    EXPECT_EQ(doc.GetRoot().GetName(), "third");
    EXPECT_TRUE(held.IsUnlinked());
    EXPECT_EQ(held.GetName(), "second");
  }
  ExpectAllFreed();
}

TEST_F(WrapperTest, TreesWaitForTheWrappersOfTheirParts) {
  // Each case lets the tree's own last wrapper go first; the tree is freed exactly when the
  // last wrapper of a part of it goes.
  {
    wxXml2Node child;
    {
      wxXml2Document doc;
      ASSERT_TRUE(doc.Create());
      wxXml2Node root;
      root.CreateRoot(doc, "root");
      child.CreateChild(XML_ELEMENT_NODE, root, "child");
    }
    EXPECT_EQ(child.GetName(), "child");
    EXPECT_EQ(child.GetDoc().GetRoot().GetName(), "root");
  }
  ExpectAllFreed();
  {
    wxXml2Document doc;
    ASSERT_TRUE(xmltest::LoadText(doc, "<first><a/></first>"));
    wxXml2Node held = doc.GetRoot().GetChildren();
    ASSERT_TRUE(xmltest::LoadText(doc, "<second/>"));  // replaces the document under it
    EXPECT_EQ(held.GetName(), "a");
    EXPECT_EQ(doc.GetRoot().GetName(), "second");
  }
  ExpectAllFreed();
  {
    wxXml2Property attribute;
    wxXml2Namespace declared;
    {
      wxXml2Document doc;
      ASSERT_TRUE(doc.Create());
      wxXml2Node loose;
      loose.CreateTemp(XML_ELEMENT_NODE, doc, "loose");
      attribute = loose.AddProperty("k", "v");
      xmlNewNs(loose.GetObj(), BAD_CAST "urn:x", BAD_CAST "x");
      declared = loose.GetNamespaceDecl();
    }
    EXPECT_EQ(attribute.GetValue(), "v");
    attribute = wxXml2EmptyProperty;
    EXPECT_EQ(declared.GetURI(), "urn:x");
  }
  ExpectAllFreed();
}

TEST_F(WrapperTest, HelpWrappersFreeWhatIsNotLinked) {
  xmlEnumeration* linkedValues = xmlCreateEnumeration(BAD_CAST "b");
  {
    wxXml2Enumeration owned(xmlCreateEnumeration(BAD_CAST "a"));
    wxXml2Enumeration linked(linkedValues, true);
    wxXml2ElemContent content(xmlNewElementContent(BAD_CAST "e", XML_ELEMENT_CONTENT_ELEMENT));
    EXPECT_TRUE(owned.IsOk());
    EXPECT_TRUE(linked.IsLinked());
  }
  xmlFreeEnumeration(linkedValues);  // the linked one was left to its owner: this test
  ExpectAllFreed();
}

TEST(WrapperClassInfo, ConcreteClassesAreCreatedEmptyByName) {
  const std::vector<std::string> names = {"wxXml2BaseNode", "wxXml2Node",      "wxXml2Document",
                                          "wxXml2Property", "wxXml2Namespace", "wxXml2DTD",
                                          "wxXml2ElemDecl", "wxXml2AttrDecl",  "wxXml2EntityDecl"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    std::unique_ptr<wxObject> object(wxCreateDynamicObject(name));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetClassInfo()->GetClassName(), wxString(name));
    auto* wrapper = wxDynamicCast(object.get(), wxXml2Wrapper);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_FALSE(wrapper->IsOk());
  }
  for (const char* name : {"wxXml2Enumeration", "wxXml2ElemContent"}) {
    std::unique_ptr<wxObject> object(wxCreateDynamicObject(name));
    ASSERT_NE(object, nullptr) << name;
    EXPECT_NE(wxDynamicCast(object.get(), wxXml2HelpWrapper), nullptr) << name;
  }
  // The abstract bases cannot be made.
  EXPECT_EQ(wxCreateDynamicObject("wxXml2Wrapper"), nullptr);
  EXPECT_EQ(wxCreateDynamicObject("wxXml2HelpWrapper"), nullptr);
}

TEST(WrapperEmptyObjects, EmptyResultsCompareEqualToTheEmptyNode) {
  wxXml2Document doc;
  ASSERT_TRUE(doc.Create());
  wxXml2Node root;
  root.CreateRoot(doc, "root");

  EXPECT_TRUE(root.GetChildren() == wxXml2EmptyNode);
  EXPECT_TRUE(root.GetNext() == wxXml2EmptyNode);
  EXPECT_TRUE(wxXml2EmptyNode == wxXml2Node());
  EXPECT_FALSE(root == wxXml2EmptyNode);
  EXPECT_FALSE(wxXml2EmptyNode == root);
  EXPECT_TRUE(root.GetProperties() == wxXml2EmptyProperty);
  EXPECT_TRUE(root.GetNamespace() == wxXml2EmptyNamespace);
}

}  // namespace
