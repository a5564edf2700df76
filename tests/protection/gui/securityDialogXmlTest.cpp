// The security file manager's Save XML and Load XML: the saved bytes, the round trip into a
// new dialog, and the files it must read although it did not write them.
#include "SecurityDialogFixture.h"

#include <filesystem>

namespace {

using GridRows = std::vector<std::pair<wxString, wxString>>;

const char* const kSaved = "File correctly saved. ";
const char* const kLoaded = "File correctly load. ";

ExpectFile ExpectSaveXmlDialog(const wxString& path, int answer = wxID_OK) {
  return ExpectFile("Save XML file as...", kXmlWildcard, FileChoice::kSaveAskingToOverwrite, path, answer);
}

ExpectFile ExpectLoadXmlDialog(const wxString& path, int answer = wxID_OK) {
  return ExpectFile("Load XML file as...", kXmlWildcard, FileChoice::kOpen, path, answer);
}

class SecurityXmlDialogTest : public SecurityDialogTest {
 protected:
  /// The lists of expected/security_lists.xml, typed with gaps between the rows.
  void FillSampleLists() {
    EditCell(CodeBases(), 0, 0, "www.harwelco.example");
    EditCell(CodeBases(), 3, 0, "media.harwelco.example");
    EditCell(CodeBases(), 3, 1, "1-12-2011");
    EditCell(DocumentBases(), 2, 0, "http://www.harwelco.example/videos/");
    EditCell(DocumentBases(), 2, 1, "05-03-2010");
    EditCell(DocumentBases(), 5, 0, "http://partner.example/page?a=1&b=2");
    Mode()->SetValue("External");
    SetGlobalDate(5, wxDateTime::Mar, 2010);
  }

  /// Loads the text as a file into the dialog through Load XML, answering the messages.
  void LoadText(securityDialog* target, const std::string& xml, bool hasDocumentBaseSection = true) {
    const std::string path = folder.File("load.xml");
    WriteWholeFile(path, xml);
    if (hasDocumentBaseSection) {
      wxTEST_DIALOG(ClickButton(target, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(path),
                    ExpectMessage(kLoaded).Caption("Message"));
    } else {
      wxTEST_DIALOG(ClickButton(target, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(path),
                    ExpectMessage(kLoaded).Caption("Message"),
                    ExpectMessage("Document base mode not found").Caption("Message"));
    }
  }

  /// The first rows of the grid as (WebSite, Expire Date).
  GridRows Rows(wxGrid* grid, int count) {
    GridRows rows;
    for (int row = 0; row < count; ++row) rows.emplace_back(grid->GetCellValue(row, 0), grid->GetCellValue(row, 1));
    return rows;
  }

  std::string xmlPath = folder.File("lists.xml");
};

}  // namespace

TEST_F(SecurityXmlDialogTest, SavedFileMatchesTheExpectedBytesAndLoadsIntoANewDialog) {
  FillSampleLists();
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML), ExpectSaveXmlDialog(xmlPath),
                ExpectMessage(kSaved).Caption("Message"));
  ExpectMatchesExpectedFile(ReadWholeFile(xmlPath), "security_lists.xml");

  securityDialog* loaded = NewDialog();
  wxTEST_DIALOG(ClickButton(loaded, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(xmlPath),
                ExpectMessage(kLoaded).Caption("Message"));
  // The rows come back in order, without the empty rows between them.
  EXPECT_EQ(Rows(CodeBases(loaded), 3),
            (GridRows{{"www.harwelco.example", ""}, {"media.harwelco.example", "1-12-2011"}, {"", ""}}));
  EXPECT_EQ(Rows(DocumentBases(loaded), 3), (GridRows{{"http://www.harwelco.example/videos/", "05-03-2010"},
                                                      {"http://partner.example/page?a=1&b=2", ""},
                                                      {"", ""}}));
  EXPECT_EQ(Mode(loaded)->GetValue(), "External");
  EXPECT_TRUE(ExpireDateBox(loaded)->IsChecked());
  EXPECT_TRUE(ExpireDate(loaded)->IsEnabled());
  EXPECT_TRUE(ExpireDate(loaded)->GetValue().IsSameDate(wxDateTime(5, wxDateTime::Mar, 2010)));
  ExpectButtons(true, true, true, loaded);
}

TEST_F(SecurityXmlDialogTest, WithoutGlobalDateLoadingUnticksTheBox) {
  EditCell(CodeBases(), 0, 0, "host");
  EditCell(DocumentBases(), 0, 0, "http://page/");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML), ExpectSaveXmlDialog(xmlPath),
                ExpectMessage(kSaved).Caption("Message"));
  EXPECT_EQ(ReadWholeFile(xmlPath).find("license_expire_date"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(xmlPath).find("expire="), std::string::npos);

  securityDialog* loaded = NewDialog();
  ClickCheckBox(loaded, securityDialog::ID_ENABLE_EXPIRE_DATE, true);
  wxTEST_DIALOG(ClickButton(loaded, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(xmlPath),
                ExpectMessage(kLoaded).Caption("Message"));
  EXPECT_FALSE(ExpireDateBox(loaded)->IsChecked());
  EXPECT_FALSE(ExpireDate(loaded)->IsEnabled());
  EXPECT_EQ(Mode(loaded)->GetValue(), "Internal");
}

TEST_F(SecurityXmlDialogTest, SaveStopsAtBadDatesMissingEntriesAndCancel) {
  EditCell(CodeBases(), 0, 0, "host");
  // Typed and taken back: the button is enabled, but no document base is left.
  EditCell(DocumentBases(), 3, 0, "http://page/");
  EditCell(DocumentBases(), 3, 0, "");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML), ExpectMessage(kBothNeeded).Caption("Message"));
  EditCell(DocumentBases(), 0, 0, "http://page/");
  wxTEST_DIALOG(EditCell(DocumentBases(), 4, 1, "31-04-2010"),
                ExpectMessage("Invalid date document base. Date format is: dd-mm-yyyy").Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML),
                ExpectMessage("Invalid date documentbase. Date format is: dd-mm-yyyy").Caption("Message"));
  EditCell(DocumentBases(), 4, 1, "30-04-2010");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML), ExpectSaveXmlDialog(xmlPath, wxID_CANCEL));
  EXPECT_FALSE(FileExists(xmlPath));

  const std::string taken = folder.File("taken.xml");
  std::filesystem::create_directory(taken);
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_SAVE_XML), ExpectSaveXmlDialog(taken),
                ExpectMessage("File could not be correctly saved !!!").Caption("Error"));
}

TEST_F(SecurityXmlDialogTest, ElementsWithoutWhitespaceBetweenThemAllLoad) {
  LoadText(dialog,
           "<?xml version=\"1.0\"?><security><SECTION_CODEBASE><codebase>a</codebase>"
           "<codebase expire=\"2-2-2012\">b</codebase><codebase>c</codebase><codebase>d</codebase>"
           "</SECTION_CODEBASE><SECTION_DOCUMENTBASE mode=\"External\"><documentbase>p1</documentbase>"
           "<documentbase>p2</documentbase></SECTION_DOCUMENTBASE></security>");
  EXPECT_EQ(Rows(CodeBases(), 5), (GridRows{{"a", ""}, {"b", "2-2-2012"}, {"c", ""}, {"d", ""}, {"", ""}}));
  EXPECT_EQ(Rows(DocumentBases(), 3), (GridRows{{"p1", ""}, {"p2", ""}, {"", ""}}));
  EXPECT_EQ(Mode()->GetValue(), "External");
}

TEST_F(SecurityXmlDialogTest, UpperCaseNamesLoadLikeTheWritersOwn) {
  LoadText(dialog,
           "<?xml version=\"1.0\"?>\r\n<SECURITY>\r\n  <LICENSE_EXPIRE_DATE>29-02-2012</LICENSE_EXPIRE_DATE>\r\n"
           "  <SECTION_CODEBASE>\r\n    <CODEBASE EXPIRE=\"3-4-2015\">host</CODEBASE>\r\n"
           "  </SECTION_CODEBASE>\r\n  <SECTION_DOCUMENTBASE MODE=\"External\">\r\n"
           "    <DOCUMENTBASE>page</DOCUMENTBASE>\r\n  </SECTION_DOCUMENTBASE>\r\n</SECURITY>\r\n");
  EXPECT_EQ(Rows(CodeBases(), 2), (GridRows{{"host", "3-4-2015"}, {"", ""}}));
  EXPECT_EQ(Rows(DocumentBases(), 1), (GridRows{{"page", ""}}));
  EXPECT_EQ(Mode()->GetValue(), "External");
  EXPECT_TRUE(ExpireDateBox()->IsChecked());
  EXPECT_TRUE(ExpireDate()->GetValue().IsSameDate(wxDateTime(29, wxDateTime::Feb, 2012)));
}

TEST_F(SecurityXmlDialogTest, AnotherRootAndAMissingSectionStillLoad) {
  EditCell(CodeBases(), 50, 0, "left over");
  Mode()->SetValue("External");
  LoadText(dialog,
           "<protection><SECTION_CODEBASE><codebase>host</codebase></SECTION_CODEBASE>"
           "<documentbase>page</documentbase></protection>",
           false);
  EXPECT_EQ(Mode()->GetValue(), "External");
  EXPECT_EQ(Rows(CodeBases(), 1), (GridRows{{"host", ""}}));
  EXPECT_EQ(CodeBases()->GetCellValue(50, 0), "");
  EXPECT_EQ(Rows(DocumentBases(), 1), (GridRows{{"page", ""}}));
  ExpectButtons(true, true, true);
}

TEST_F(SecurityXmlDialogTest, SectionWithoutAttributesMeansInternal) {
  Mode()->SetValue("External");
  LoadText(dialog,
           "<security><SECTION_DOCUMENTBASE><documentbase>p</documentbase>"
           "</SECTION_DOCUMENTBASE></security>");
  EXPECT_EQ(Mode()->GetValue(), "Internal");
}

TEST_F(SecurityXmlDialogTest, MoreThanAHundredEntriesFillTheHundredRows) {
  std::string xml = "<security><SECTION_CODEBASE>";
  for (int i = 0; i < 150; ++i) xml += "<codebase>host" + std::to_string(i) + "</codebase>\n";
  xml += "</SECTION_CODEBASE><SECTION_DOCUMENTBASE mode=\"Internal\"/></security>";
  LoadText(dialog, xml);
  EXPECT_EQ(CodeBases()->GetNumberRows(), 100);
  EXPECT_EQ(CodeBases()->GetCellValue(0, 0), "host0");
  EXPECT_EQ(CodeBases()->GetCellValue(99, 0), "host99");
}

TEST_F(SecurityXmlDialogTest, UnreadableFileLeavesTheDialogAsItWas) {
  EditCell(CodeBases(), 0, 0, "kept");
  const std::string path = folder.File("broken.xml");
  WriteWholeFile(path, "this is not XML at all");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(path),
                ExpectMessage("Couldn't parse the file you chose:\n").Caption("Error").Prefix());
  EXPECT_EQ(CodeBases()->GetCellValue(0, 0), "kept");
  ExpectButtons(false, false, false);

  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_LOAD_XML), ExpectLoadXmlDialog(path, wxID_CANCEL));
  EXPECT_EQ(CodeBases()->GetCellValue(0, 0), "kept");
}

TEST_F(SecurityXmlDialogTest, ModeTextPicksTheChoiceIgnoringCase) {
  LoadText(dialog,
           "<security><SECTION_DOCUMENTBASE mode=\"external\"><documentbase>p</documentbase>"
           "</SECTION_DOCUMENTBASE></security>");
  EXPECT_EQ(Mode()->GetValue(), "External");
  // The read-only box holds only its two choices: another text leaves the mode as it was.
  LoadText(dialog,
           "<security><SECTION_DOCUMENTBASE mode=\"Foo\"><documentbase>p</documentbase>"
           "</SECTION_DOCUMENTBASE></security>");
  EXPECT_EQ(Mode()->GetValue(), "External");
}
