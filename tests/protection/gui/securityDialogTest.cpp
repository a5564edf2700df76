// The security file manager: its controls, the cell messages, the enabling of its buttons
// (with the flags that outlive the dialog), and the security and auth files it writes.
#include "SecurityDialogFixture.h"
#include "DocumentBaseList.h"
#include "LineList.h"
#include "Md5Digest.h"
#include "SecurityFile.h"
#include "StoredPhrase.h"

#include <wx/config.h>
#include <wx/notebook.h>

#include <algorithm>
#include <filesystem>

namespace {

const char* const kCodeBaseCellMessage = "Invalid date codebase Date format is: dd-mm-yyyy";
const char* const kDocumentBaseCellMessage = "Invalid date document base. Date format is: dd-mm-yyyy";

void ExpectGrid(wxGrid* grid) {
  EXPECT_EQ(grid->GetNumberRows(), 100);
  EXPECT_EQ(grid->GetNumberCols(), 2);
  EXPECT_EQ(grid->GetColLabelValue(0), "WebSite");
  EXPECT_EQ(grid->GetColLabelValue(1), "Expire Date");
  EXPECT_EQ(grid->GetColSize(0), 350);
  // At least 80 and 18 pixels, and the whole header and row numbers in the
  // label font with a margin.
  const wxFont font = grid->GetLabelFont();
  int labelWidth = 0;
  grid->GetTextExtent("Expire Date", &labelWidth, nullptr, nullptr, nullptr, &font);
  EXPECT_GE(grid->GetColSize(1), std::max(80, labelWidth + 4));
  EXPECT_EQ(grid->GetRowSize(0), 22);
  int numberWidth = 0;
  grid->GetTextExtent("100", &numberWidth, nullptr, nullptr, nullptr, &font);
  EXPECT_GE(grid->GetRowLabelSize(), std::max(18, numberWidth + 4));
  EXPECT_EQ(grid->GetColLabelSize(), 25);
  EXPECT_FALSE(grid->CanDragRowSize(0));
  EXPECT_FALSE(grid->CanDragColSize(0));
  EXPECT_FALSE(grid->CanDragGridSize());
  for (int row = 0; row < 100; ++row) EXPECT_EQ(grid->GetCellValue(row, 0) + grid->GetCellValue(row, 1), "");
}

}  // namespace

TEST_F(SecurityDialogTest, StartsWithEmptyGridsAndOnlyLoadEnabled) {
  EXPECT_EQ(dialog->GetId(), 10002);
  EXPECT_EQ(dialog->GetTitle(), "securityDialog");
  EXPECT_EQ(dialog->GetName(), "dialog");
  EXPECT_TRUE(dialog->HasExtraStyle(wxWS_EX_BLOCK_EVENTS));
  EXPECT_TRUE(IsEnabled(dialog, securityDialog::ID_LOAD_XML));
  ExpectButtons(false, false, false);

  auto* notebook = Child<wxNotebook>(dialog, securityDialog::ID_NOTEBOOK);
  ASSERT_EQ(notebook->GetPageCount(), 3u);
  EXPECT_EQ(notebook->GetPageText(0), "General");
  EXPECT_EQ(notebook->GetPageText(1), "Admitted delivering host");
  EXPECT_EQ(notebook->GetPageText(2), "Admitted external link");
  EXPECT_EQ(notebook->GetSelection(), 0);

  EXPECT_FALSE(ExpireDateBox()->IsChecked());
  EXPECT_EQ(ExpireDateBox()->GetLabel(), "Enable security expire date");
  EXPECT_FALSE(ExpireDate()->IsEnabled());
  EXPECT_TRUE(ExpireDate()->GetValue().IsSameDate(wxDateTime::Today()));
  EXPECT_EQ(Mode()->GetValue(), "Internal");
  EXPECT_EQ(Mode()->GetCount(), 2u);
  EXPECT_EQ(Mode()->GetString(1), "External");
  EXPECT_TRUE(Mode()->HasFlag(wxCB_READONLY));
  // Wide enough to show either choice whole beside its button.
  for (const char* mode : {"Internal", "External"}) {
    SCOPED_TRACE(mode);
    EXPECT_GE(Mode()->GetSize().x, Mode()->GetSizeFromTextSize(Mode()->GetTextExtent(mode).x).x);
  }

  ExpectGrid(CodeBases());
  ExpectGrid(DocumentBases());
}

TEST_F(SecurityDialogTest, CheckBoxEnablesTheDateControl) {
  ClickCheckBox(dialog, securityDialog::ID_ENABLE_EXPIRE_DATE, true);
  EXPECT_TRUE(ExpireDate()->IsEnabled());
  ClickCheckBox(dialog, securityDialog::ID_ENABLE_EXPIRE_DATE, false);
  EXPECT_FALSE(ExpireDate()->IsEnabled());
}

TEST_F(SecurityDialogTest, EditedDateCellsBreakingTheRuleAreReported) {
  struct Case {
    bool codeBase;
    int col;
    const char* text;
    const char* message;  // null: none
  };
  const std::vector<Case> cases = {
      {true, 1, "31-04-2010", kCodeBaseCellMessage},
      {true, 1, "5-3-2010", nullptr},
      {true, 1, "", kCodeBaseCellMessage},  // emptied
      {true, 0, "not a date", nullptr},
      {false, 1, "05-03-2010 ", kDocumentBaseCellMessage},
      {false, 1, "29-02-2012", nullptr},
      {false, 1, "", kDocumentBaseCellMessage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.codeBase ? "codebase " : "documentbase ") + c.text);
    wxGrid* grid = c.codeBase ? CodeBases() : DocumentBases();
    if (c.message) {
      wxTEST_DIALOG(EditCell(grid, 0, c.col, c.text), ExpectMessage(c.message).Caption("Message"));
    } else {
      EditCell(grid, 0, c.col, c.text);
    }
    // The text stays as typed either way.
    EXPECT_EQ(grid->GetCellValue(0, c.col), c.text);
  }
}

TEST_F(SecurityDialogTest, ButtonsFollowEditsOfBothGridsInEitherOrder) {
  EditCell(DocumentBases(), 0, 0, "http://page/");
  ExpectButtons(false, false, true);
  EditCell(CodeBases(), 0, 0, "host");
  ExpectButtons(true, true, true);

  // The other order, in a program that has not edited yet.
  securityEditFlags::codeBaseEdited = false;
  securityEditFlags::documentBaseEdited = false;
  securityDialog* other = NewDialog();
  EditCell(CodeBases(other), 0, 0, "host");
  ExpectButtons(false, false, false, other);
  EditCell(DocumentBases(other), 0, 0, "http://page/");
  ExpectButtons(true, true, true, other);
}

TEST_F(SecurityDialogTest, EditFlagsOutliveTheDialog) {
  EditCell(CodeBases(), 0, 0, "host");
  dialog->Destroy();
  dialogs.clear();

  // A later dialog starts disabled, but one document base edit now enables everything.
  securityDialog* second = NewDialog();
  ExpectButtons(false, false, false, second);
  EditCell(DocumentBases(second), 0, 0, "http://page/");
  ExpectButtons(true, true, true, second);

  // Once both flags are set, one code base edit is enough too.
  securityDialog* third = NewDialog();
  EditCell(CodeBases(third), 5, 0, "host");
  ExpectButtons(true, true, true, third);
}

TEST_F(SecurityDialogTest, GridsHoldExactlyAHundredRows) {
  EditCell(CodeBases(), 99, 0, "last row");
  EXPECT_EQ(CodeBases()->GetNumberRows(), 100);
  EXPECT_EQ(CodeBases()->GetCellValue(99, 0), "last row");
  EditCell(DocumentBases(), 99, 0, "http://last/");
  ASSERT_TRUE(dialog->CollectEntries());
  EXPECT_EQ(dialog->GetCodeBaseEntries().size(), 1u);
  EXPECT_EQ(dialog->GetDocumentBaseEntries().size(), 1u);
}

class SecurityFileGenerationTest : public SecurityDialogTest {
 protected:
  /// The entries of the writer's expected files, typed with gaps between the rows and a
  /// date with leading zeros.
  void FillSampleRows() {
    EditCell(CodeBases(), 1, 0, "www.harwelco.example");
    EditCell(CodeBases(), 4, 0, "media.harwelco.example");
    EditCell(CodeBases(), 4, 1, "01-12-2011");
    EditCell(DocumentBases(), 0, 0, "http://www.harwelco.example/videos/");
    EditCell(DocumentBases(), 2, 0, "http://partner.example/page?a=1&b=2");
    EditCell(DocumentBases(), 2, 1, "05-03-2010");
  }

  void StorePhrase(const std::string& phrase) { ASSERT_TRUE(WriteStoredPhrase(*wxConfigBase::Get(), phrase)); }

  std::string securityPath = folder.File("security.txt");
  std::string authPath = folder.File("auth.txt");
};

TEST_F(SecurityFileGenerationTest, InternalModeWritesOneSealedFile) {
  StorePhrase("my secret phrase");
  FillSampleRows();
  SetGlobalDate(31, wxDateTime::Dec, 2012);
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath));
  ExpectMatchesExpectedFile(ReadWholeFile(securityPath), "security_internal.txt");
  EXPECT_FALSE(FileExists(authPath));
}

TEST_F(SecurityFileGenerationTest, ExternalModeWritesTheSecurityFileThenTheAuthFile) {
  StorePhrase("my secret phrase");
  FillSampleRows();
  Mode()->SetValue("External");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath),
                ExpectAuthFileDialog(authPath));
  ExpectMatchesExpectedFile(ReadWholeFile(securityPath), "security_external.txt");
  ExpectMatchesExpectedFile(ReadWholeFile(authPath), "auth_external.txt");
}

TEST_F(SecurityFileGenerationTest, CancellingTheAuthFileKeepsTheSecurityFile) {
  StorePhrase("my secret phrase");
  FillSampleRows();
  Mode()->SetValue("External");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath),
                ExpectAuthFileDialog(authPath, wxID_CANCEL));
  ExpectMatchesExpectedFile(ReadWholeFile(securityPath), "security_external.txt");
  EXPECT_FALSE(FileExists(authPath));

  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectSecurityFileDialog(folder.File("other.txt"), wxID_CANCEL));
  EXPECT_FALSE(FileExists(folder.File("other.txt")));
}

TEST_F(SecurityFileGenerationTest, WithoutPhraseTheKeyCoversTheLinesAlone) {
  EditCell(CodeBases(), 0, 0, "10.0.0.7");
  EditCell(DocumentBases(), 0, 0, "http://10.0.0.7/");
  SetGlobalDate(1, wxDateTime::Jan, 2020);
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath));
  ExpectMatchesExpectedFile(ReadWholeFile(securityPath), "security_empty_phrase.txt");
}

TEST_F(SecurityFileGenerationTest, AuthFileAloneIgnoresTheCodeBasesAndTheMode) {
  FillSampleRows();
  wxTEST_DIALOG(EditCell(CodeBases(), 7, 1, "not a date"), ExpectMessage(kCodeBaseCellMessage).Caption("Message"));
  // The auth file does not look at code base dates.
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH), ExpectAuthFileDialog(authPath));
  ExpectMatchesExpectedFile(ReadWholeFile(authPath), "auth_external.txt");
}

TEST_F(SecurityFileGenerationTest, MissingEntriesAndBadDatesStopBeforeAnyFileDialog) {
  EditCell(CodeBases(), 0, 0, "host");
  // A document base row is needed to enable the buttons; an empty site is never collected.
  EditCell(DocumentBases(), 3, 0, "http://page/");
  EditCell(DocumentBases(), 3, 0, "");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectMessage(kBothNeeded).Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH),
                ExpectMessage("Before Save insert at least a documentbase").Caption("Message"));

  EditCell(DocumentBases(), 0, 0, "http://page/");
  // A date in a row without a site still counts; the code base grid is reported first.
  wxTEST_DIALOG(EditCell(CodeBases(), 9, 1, "32-01-2010"), ExpectMessage(kCodeBaseCellMessage).Caption("Message"));
  wxTEST_DIALOG(EditCell(DocumentBases(), 9, 1, "5/3/2010"),
                ExpectMessage(kDocumentBaseCellMessage).Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectMessage("Invalid date  codebase. Date format is: dd-mm-yyyy").Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH),
                ExpectMessage("Invalid date documentbase. Date format is: dd-mm-yyyy").Caption("Message"));
  EXPECT_FALSE(FileExists(securityPath));
}

TEST_F(SecurityFileGenerationTest, EmptiedDateCellMeansNoExpiry) {
  StorePhrase("my secret phrase");
  FillSampleRows();
  SetGlobalDate(31, wxDateTime::Dec, 2012);
  EditCell(CodeBases(), 1, 1, "1-1-2000");
  wxTEST_DIALOG(EditCell(CodeBases(), 1, 1, ""), ExpectMessage(kCodeBaseCellMessage).Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath));
  ExpectMatchesExpectedFile(ReadWholeFile(securityPath), "security_internal.txt");
}

TEST_F(SecurityFileGenerationTest, EntryLinesTooLongForThePlayerAreRefusedNamingTheRow) {
  FillSampleRows();
  // 237 characters fit with ",expire:1-12-2011"; one more does not.
  EditCell(CodeBases(), 2, 0, std::string(237, 'h'));
  EditCell(CodeBases(), 2, 1, "1-12-2011");
  EditCell(DocumentBases(), 6, 0, std::string(255, 'p'));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectMessage("The documentbase in row 7 is too long: a site with its expire "
                              "date may hold at most 254 characters.")
                    .Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH),
                ExpectMessage("The documentbase in row 7 is too long: a site with its expire "
                              "date may hold at most 254 characters.")
                    .Caption("Message"));

  EditCell(DocumentBases(), 6, 0, std::string(254, 'p'));
  EditCell(CodeBases(), 2, 0, std::string(238, 'h'));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectMessage("The codebase in row 3 is too long: a site with its expire "
                              "date may hold at most 254 characters.")
                    .Caption("Message"));
  EXPECT_FALSE(FileExists(securityPath));
  EXPECT_FALSE(FileExists(authPath));

  EditCell(CodeBases(), 2, 0, std::string(237, 'h'));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath));
  EXPECT_NE(ReadWholeFile(securityPath).find(std::string(237, 'h') + ",expire:1-12-2011\r\n"), std::string::npos);
}

TEST_F(SecurityFileGenerationTest, FileThatCannotBeWrittenIsReported) {
  FillSampleRows();
  // A folder where the file should go cannot be opened as a file.
  const std::string taken = folder.File("taken.txt");
  std::filesystem::create_directory(taken);
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(taken),
                ExpectMessage("File could not be correctly saved !!!").Caption("Error"));

  // In External mode the auth file is still asked for, and written.
  Mode()->SetValue("External");
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(taken),
                ExpectMessage("File could not be correctly saved !!!").Caption("Error"),
                ExpectAuthFileDialog(authPath));
  ExpectMatchesExpectedFile(ReadWholeFile(authPath), "auth_external.txt");
}

TEST_F(SecurityFileGenerationTest, SitesSpanningLinesAreRefusedNamingTheRow) {
  FillSampleRows();
  // As a pretty-printed hand-written XML file leaves a site in its cell after Load XML.
  EditCell(DocumentBases(), 3, 0, "\n    http://page/\n  ");
  const char* const message = "The documentbase in row 4 holds a line break: a site must stand on one line.";
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectMessage(message).Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH), ExpectMessage(message).Caption("Message"));
  EXPECT_FALSE(FileExists(securityPath));
  EXPECT_FALSE(FileExists(authPath));
}

// The player reads the sites and checks the match key in ISO-8859-1, one byte a character:
// an accented site and phrase give the bytes a file built from those single bytes has.
TEST_F(SecurityFileGenerationTest, AccentedSitesAndPhraseAreWrittenAsSingleBytes) {
  StorePhrase("cl\xe9");  // "clé", as the Secret Phrase dialog stores it
  EditCell(CodeBases(), 0, 0, wxString::FromUTF8("m\xc3\xbcnchen.example"));
  EditCell(DocumentBases(), 0, 0, wxString::FromUTF8("http://m\xc3\xbcnchen.example/caf\xc3\xa9"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY), ExpectSecurityFileDialog(securityPath));

  SecurityFile expected;
  expected.AddCodeBase("m\xfcnchen.example");
  DocumentBaseList documentBases;
  documentBases.Add("http://m\xfcnchen.example/caf\xe9");
  expected.SetDocumentBaseList(&documentBases);
  Md5Digest digest;
  digest.Update(std::string("cl\xe9"));
  LineList lines;
  expected.Build(digest, lines);
  std::string bytes;
  for (size_t i = 0; i < lines.Count(); ++i) bytes += lines.GetLine(i);
  EXPECT_EQ(ReadWholeFile(securityPath), bytes);
}

TEST_F(SecurityFileGenerationTest, SitesOutsideIso8859AreRefusedNamingTheRow) {
  FillSampleRows();
  EditCell(CodeBases(), 2, 0, wxString::FromUTF8("\xe2\x82\xac.example"));  // the euro sign
  EditCell(DocumentBases(), 5, 0, wxString::FromUTF8("http://\xce\xb1.example/"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_SECURITY),
                ExpectMessage("The codebase in row 3 holds a character that cannot be written: only "
                              "the characters of ISO-8859-1 (Western European letters) can be used.")
                    .Caption("Message"));
  wxTEST_DIALOG(ClickButton(dialog, securityDialog::ID_GENERATE_AUTH),
                ExpectMessage("The documentbase in row 6 holds a character that cannot be written: "
                              "only the characters of ISO-8859-1 (Western European letters) can be "
                              "used.")
                    .Caption("Message"));
  EXPECT_FALSE(FileExists(securityPath));
  EXPECT_FALSE(FileExists(authPath));
}
