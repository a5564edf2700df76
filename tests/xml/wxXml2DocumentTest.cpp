// Loading documents through the in-memory parse and saving them through wx streams.
#include "FailingOutputStream.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "XmlTestSupport.h"
#include "wxXml2Node.h"
#include "wxXml2TextElement.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/mstream.h>

#include <cstdio>
#include <string>
#include <vector>

using xmltest::LiveBlocks;
using xmltest::LoadText;
using xmltest::SaveText;

namespace {

/// <a><b><c>x</c></b></a>
void BuildNested(wxXml2Document& doc) {
  ASSERT_TRUE(doc.Create());
  wxXml2Node a;
  a.CreateRoot(doc, "a");
  wxXml2Node b;
  b.CreateChild(XML_ELEMENT_NODE, a, "b");
  AddTextElement(b, "c", "x");
}

/// Records libxml2's formatting settings as they are while the save writes.
class SettingsSpyStream : public wxMemoryOutputStream {
 public:
  int keepBlanksDuringSave = -1;

 protected:
  size_t OnSysWrite(const void* buffer, size_t size) override {
    if (keepBlanksDuringSave == -1) keepBlanksDuringSave = xmlKeepBlanksDefaultValue;
    return wxMemoryOutputStream::OnSysWrite(buffer, size);
  }
};

TEST(DocumentSave, FlagsAndStepChooseLineEndsAndIndentation) {
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  auto nested = [&](const std::string& step) {
    return declaration + "<a>\n" + step + "<b>\n" + step + step + "<c>x</c>\n" + step + "</b>\n</a>\n";
  };
  struct Case {
    long flags;
    int step;
    const char* indentBefore;  // libxml2's indentation string when the save starts
    wxString encoding;
    std::string expected;
    int keepBlanksDuringSave;
  };
  const std::vector<Case> cases = {
      {3, 4, "  ", "UTF-8", nested("    "), 0},
      {1, 4, "  ", "UTF-8", nested("  "), 1},  // the step needs flag 2
      {0, 4, "  ", "UTF-8", nested("  "), 1},  // formatted all the same
      {2, 1, "  ", "UTF-8", nested(" "), 0},
      {2, 30, "  ", "UTF-8", nested(std::string(30, ' ')), 0},
      // The longest step; libxml2 indents no deeper than 60 columns, so both levels get one.
      {2, 31, "  ", "UTF-8",
       declaration + "<a>\n" + std::string(31, ' ') + "<b>\n" + std::string(31, ' ') + "<c>x</c>\n" +
           std::string(31, ' ') + "</b>\n</a>\n",
       0},
      {2, 0, "  ", "UTF-8", nested("  "), 0},  // outside 1..31: libxml2's own string
      {2, 32, "  ", "UTF-8", nested("  "), 0},
      {2, -4, "  ", "UTF-8", nested("  "), 0},
      {3, 4, "\t", "UTF-8", nested("    "), 0},
      {1, 4, "\t", "UTF-8", nested("\t"), 1},
      {4, 4, "  ", "UTF-8", nested("  "), 1},  // unknown bits are ignored
      {0, 0, "  ", "", "<?xml version=\"1.0\"?>\n<a>\n  <b>\n    <c>x</c>\n  </b>\n</a>\n", 1},
  };

  wxXml2Document doc;
  BuildNested(doc);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags << " step " << c.step << " indent "
                                    << testing::PrintToString(c.indentBefore));
    const char* const savedIndent = xmlTreeIndentString;
    xmlTreeIndentString = c.indentBefore;
    const int keepBlanksBefore = xmlKeepBlanksDefaultValue;
    const int indentOutputBefore = xmlIndentTreeOutput;

    SettingsSpyStream output;
    const int written = doc.Save(output, c.encoding, c.flags, c.step);
    std::string text(output.GetSize(), '\0');
    output.CopyTo(text.data(), text.size());

    EXPECT_EQ(text, c.expected);
    EXPECT_EQ(written, static_cast<int>(c.expected.size()));
    EXPECT_EQ(output.keepBlanksDuringSave, c.keepBlanksDuringSave);
    // Everything process-wide is back as it was.
    EXPECT_EQ(xmlTreeIndentString, c.indentBefore);
    EXPECT_EQ(xmlKeepBlanksDefaultValue, keepBlanksBefore);
    EXPECT_EQ(xmlIndentTreeOutput, indentOutputBefore);
    xmlTreeIndentString = savedIndent;
  }
}

TEST(DocumentSave, FailuresAreReportedAndLeaveFilesAlone) {
  TempDir dir;
  wxXml2Document doc;
  BuildNested(doc);

  const std::string path = dir.File("out.xml");
  ASSERT_TRUE(doc.Save(path, "UTF-8", 3, 4));
  EXPECT_EQ(ReadWholeFile(path), SaveText(doc, 3, 4));

  // libxml2 knows no such encoding: nothing is written, and the file is not truncated.
  WriteWholeFile(path, "previous");
  EXPECT_FALSE(doc.Save(path, "NO-SUCH-ENCODING", 1, 4));
  EXPECT_EQ(ReadWholeFile(path), "previous");
  wxMemoryOutputStream memory;
  EXPECT_EQ(doc.Save(memory, "NO-SUCH-ENCODING", 0, 0), -1);

  EXPECT_FALSE(doc.Save(dir.File("missing/out.xml"), "UTF-8", 1, 4));
  EXPECT_FALSE(wxXml2EmptyDoc.Save(dir.File("empty.xml"), "UTF-8", 1, 4));
  EXPECT_EQ(SaveText(wxXml2EmptyDoc), "<failed>");

  // A stream that stops taking bytes: libxml2 would take the short count as success.
  for (long flags : {0L, 1L, 3L}) {
    FailingOutputStream full(10);
    EXPECT_EQ(doc.Save(full, "UTF-8", flags, 4), -1) << "flags " << flags;
  }
}

TEST(DocumentSave, EncodesTextInTheChosenEncoding) {
  wxXml2Document doc;
  ASSERT_TRUE(doc.Create());
  wxXml2Node root;
  root.CreateRoot(doc, "r");
  AddTextElement(root, "t", wxString::FromUTF8("\xc3\xa9"));

  EXPECT_NE(SaveText(doc, 0, 0, "UTF-8").find("<t>\xc3\xa9</t>"), std::string::npos);
  const std::string latin1 = SaveText(doc, 0, 0, "ISO-8859-1");
  EXPECT_NE(latin1.find("encoding=\"ISO-8859-1\""), std::string::npos);
  EXPECT_NE(latin1.find("<t>\xe9</t>"), std::string::npos);
}

class DocumentLoad : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadText(doc, "<previous/>")); }

  void ExpectPreviousKept() const { EXPECT_EQ(doc.GetRoot().GetName(), "previous"); }

  TempDir dir;
  wxXml2Document doc;
};

TEST_F(DocumentLoad, ReadsAFileAndReplacesTheDocument) {
  const long withPrevious = LiveBlocks();
  const std::string path = dir.File("in.xml");
  WriteWholeFile(path, "<?xml version=\"1.0\"?>\n<video_setting><stream/></video_setting>\n");

  wxString errors = "stale";
  EXPECT_TRUE(doc.Load(path, &errors));
  EXPECT_EQ(errors, "");
  EXPECT_EQ(doc.GetRoot().GetName(), "video_setting");
  EXPECT_EQ(doc.GetRoot().GetChildren().GetName(), "stream");

  // The previous document went; loading it again costs what it cost before.
  ASSERT_TRUE(LoadText(doc, "<previous/>"));
  EXPECT_EQ(LiveBlocks(), withPrevious);
}

TEST_F(DocumentLoad, UnreadableFilesAndEmptyInputKeepTheDocument) {
  WriteWholeFile(dir.File("empty.xml"), "");
  struct Case {
    std::string path;
    wxString expectedError;
  };
  const std::vector<Case> cases = {
      {dir.File("missing.xml"), "untouched"},
      {dir.Path(), "untouched"},  // a directory
      {dir.File("empty.xml"), "Invalid size"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    wxString errors = "untouched";
    EXPECT_FALSE(doc.Load(c.path, &errors));
    EXPECT_EQ(errors, c.expectedError);
    ExpectPreviousKept();
    EXPECT_FALSE(doc.Load(c.path));  // no error text wanted
  }

  // A stream that cannot tell its size.
  class SizelessStream : public wxInputStream {
   protected:
    size_t OnSysRead(void*, size_t) override { return 0; }
  } sizeless;
  wxString errors;
  EXPECT_FALSE(doc.Load(sizeless, &errors));
  EXPECT_EQ(errors, "Invalid size");
  ExpectPreviousKept();
}

TEST_F(DocumentLoad, MalformedInputGivesTheRecoveredTreeAndEveryMessage) {
  // Each line holds one fault; libxml2 reports each by itself.
  const std::string first = "<r>\n<a></b>\n";
  const std::string second = "<c x='1' x='2'/>\n";
  wxString firstErrors, secondErrors, bothErrors;
  LoadText(doc, first + "</r>", &firstErrors);
  LoadText(doc, "<r>\n\n" + second + "</r>", &secondErrors);
  ASSERT_FALSE(firstErrors.empty());
  ASSERT_FALSE(secondErrors.empty());

  EXPECT_TRUE(LoadText(doc, first + second + "</r>", &bothErrors));
  EXPECT_EQ(bothErrors, firstErrors + secondErrors);  // one after the other, as written
  // What recovery made of it is held and usable.
  wxXml2Node root = doc.GetRoot();
  EXPECT_EQ(root.GetName(), "r");
  EXPECT_TRUE(root.Find("c").IsOk());

  // Nothing usable: messages, and no root.
  wxString garbageErrors;
  EXPECT_FALSE(LoadText(doc, "not xml at all", &garbageErrors));
  EXPECT_FALSE(garbageErrors.empty());
  EXPECT_FALSE(doc.GetRoot().IsOk());
}

TEST_F(DocumentLoad, ExternalEntitiesAreNotRead) {
  const std::string secret = dir.File("secret.txt");
  WriteWholeFile(secret, "SECRET");
  const std::string text =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e SYSTEM \"file://" + secret + "\">]>\n<r>&e;</r>";
  wxString errors;
  ASSERT_TRUE(LoadText(doc, text, &errors));
  EXPECT_EQ(GetNodeText(doc.GetRoot()), "");
  EXPECT_EQ(SaveText(doc).find("SECRET"), std::string::npos);
}

}  // namespace
