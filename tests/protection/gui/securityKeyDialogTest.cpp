// The Secret Phrase dialog: Load, Edit and Save with their questions, messages and button
// states, and what reaches the configuration.
#include "DialogDriving.h"
#include "GuiTestSupport.h"
#include "ModalExpectations.h"
#include "ProtectionTestFiles.h"
#include "StoredPhrase.h"
#include "securityKeyDialog.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/stattext.h>
#include <wx/time.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {

const char* const kEditQuestion = "Do you really want edit the Secret Phrase ?";
const char* const kSaveQuestion = "Do you really want save the Secret Phrase ?";

class SecurityKeyDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTestConfig();
    dialog = new securityKeyDialog(nullptr, 10000, "Secret Phrase", wxDefaultPosition, wxSize(400, 300),
                                   wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
    text = Child<wxTextCtrl>(dialog, securityKeyDialog::ID_PHRASE);
  }

  void TearDown() override {
    dialog->Destroy();
    ResetTestConfig();
  }

  wxString StoredText() const { return wxConfigBase::Get()->Read("/General/ID", "<absent>"); }

  void StartEditing() {
    wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_EDIT), ExpectQuestion(kEditQuestion, "Question", wxID_YES));
  }

  void SavePhrase(const wxString& phrase, const wxString& outcome) {
    TypeText(text, phrase);
    wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_SAVE), ExpectQuestion(kSaveQuestion, "Question", wxID_YES),
                  ExpectMessage(outcome).Caption("Message"));
  }

  /// Text, Save and Edit as the user sees them.
  void ExpectState(bool textEnabled, bool saveEnabled, bool editEnabled) {
    EXPECT_EQ(text->IsEnabled(), textEnabled);
    EXPECT_EQ(IsEnabled(dialog, securityKeyDialog::ID_SAVE), saveEnabled);
    EXPECT_EQ(IsEnabled(dialog, securityKeyDialog::ID_EDIT), editEnabled);
  }

  securityKeyDialog* dialog = nullptr;
  wxTextCtrl* text = nullptr;
};

}  // namespace

TEST_F(SecurityKeyDialogTest, StartsEmptyAndLocked) {
  EXPECT_EQ(dialog->GetId(), 10000);
  EXPECT_EQ(dialog->GetTitle(), "Secret Phrase");
  EXPECT_EQ(dialog->GetName(), "dialog");
  EXPECT_TRUE(dialog->HasExtraStyle(wxWS_EX_BLOCK_EVENTS));
  EXPECT_TRUE(text->IsMultiLine());
  EXPECT_EQ(text->GetValue(), "");
  ExpectState(false, false, true);
  EXPECT_TRUE(IsEnabled(dialog, securityKeyDialog::ID_LOAD));
  auto* close = Child<wxButton>(dialog, securityKeyDialog::ID_CLOSE);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(dialog->GetDefaultItem(), close);
  EXPECT_EQ(close->GetLabel(), "Close");
}

TEST_F(SecurityKeyDialogTest, LoadWithoutPhraseSaysSoAndChangesNothing) {
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_LOAD),
                ExpectMessage("Secret phrase is empty!").Caption("Message"));
  EXPECT_EQ(text->GetValue(), "");
  ExpectState(false, false, true);
}

TEST_F(SecurityKeyDialogTest, EditRefusedKeepsThePhraseLocked) {
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_EDIT), ExpectQuestion(kEditQuestion, "Question", wxID_NO));
  ExpectState(false, false, true);
}

TEST_F(SecurityKeyDialogTest, EditSaveAndLoadKeepAPhraseOfSeveralWords) {
  const wxString phrase = "  my secret  phrase of words ";
  ASSERT_TRUE(WriteStoredPhrase(*wxConfigBase::Get(), "old phrase"));
  ClickButton(dialog, securityKeyDialog::ID_LOAD);
  EXPECT_EQ(text->GetValue(), "old phrase");

  StartEditing();
  ExpectState(true, true, false);
  EXPECT_TRUE(text->IsEditable());
  EXPECT_EQ(text->GetValue(), "");

  // Nothing typed yet.
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_SAVE),
                ExpectMessage("Before Save modify the key").Caption("Message"));
  ExpectState(true, true, false);

  SavePhrase(phrase, "Phrase has been saved");
  ExpectState(false, false, false);
  EXPECT_FALSE(text->IsEditable());
  EXPECT_EQ(StoredText().length(), 2 * phrase.length());
  EXPECT_EQ(StoredText().find_first_not_of("0123456789abcdef"), wxString::npos);

  securityKeyDialog second(nullptr);
  auto* secondText = Child<wxTextCtrl>(&second, securityKeyDialog::ID_PHRASE);
  EXPECT_EQ(secondText->GetValue(), "");
  ClickButton(&second, securityKeyDialog::ID_LOAD);
  EXPECT_EQ(secondText->GetValue(), phrase);
  EXPECT_FALSE(IsEnabled(&second, securityKeyDialog::ID_SAVE));
  EXPECT_FALSE(secondText->IsEnabled());
}

TEST_F(SecurityKeyDialogTest, SaveNotConfirmedStoresNothing) {
  StartEditing();
  TypeText(text, "new phrase");
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_SAVE), ExpectQuestion(kSaveQuestion, "Question", wxID_NO));
  EXPECT_EQ(StoredText(), "<absent>");
  ExpectState(true, true, false);
}

TEST_F(SecurityKeyDialogTest, PhraseEditedDownToNothingStoresTheEmptyText) {
  ASSERT_TRUE(WriteStoredPhrase(*wxConfigBase::Get(), "abc"));
  StartEditing();
  SavePhrase("", "Phrase has been saved");
  EXPECT_EQ(StoredText(), "");
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_LOAD),
                ExpectMessage("Secret phrase is empty!").Caption("Message"));
}

TEST_F(SecurityKeyDialogTest, RefusedWriteIsReportedAndLocksThePhrase) {
  TempDir folder;
  delete wxConfigBase::Set(new wxFileConfig("Ostrel 3", "Harwelco", folder.File("missing/ostrel.ini"), wxEmptyString,
                                            wxCONFIG_USE_LOCAL_FILE));
  StartEditing();
  SavePhrase("phrase", "Unable to save phrase!!");
  ExpectState(false, false, false);
}

TEST_F(SecurityKeyDialogTest, WithoutConfigurationSavingIsReportedAndNothingChanges) {
  StartEditing();
  delete wxConfigBase::Set(nullptr);
  wxConfigBase::DontCreateOnDemand();
  SavePhrase("phrase", "Unable to save phrase!!");
  ExpectState(true, true, false);
  EXPECT_TRUE(text->IsEditable());
}

TEST_F(SecurityKeyDialogTest, CloseEndsTheModalLoopAndSavesNothing) {
  const int code = ShowModalAndRun(*dialog, [this] {
    StartEditing();
    TypeText(text, "typed but never saved");
    ClickButton(dialog, securityKeyDialog::ID_CLOSE);
  });
  EXPECT_EQ(code, 10004);
  EXPECT_EQ(StoredText(), "<absent>");
}

TEST_F(SecurityKeyDialogTest, TypedPhraseCountsAsAChange) {
  const int code = ShowModalAndRun(*dialog, [this] {
    StartEditing();
    text->SetFocus();
    wxUIActionSimulator keyboard;
    keyboard.Text("ab c");
    const wxLongLong deadline = wxGetLocalTimeMillis() + 5000;
    while (text->GetValue() != "ab c" && wxGetLocalTimeMillis() < deadline) {
      wxTheApp->Yield(true);
      wxMilliSleep(5);
    }
    EXPECT_EQ(text->GetValue(), "ab c");
    EXPECT_TRUE(text->IsModified());
    wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_SAVE), ExpectQuestion(kSaveQuestion, "Question", wxID_YES),
                  ExpectMessage("Phrase has been saved").Caption("Message"));
    ClickButton(dialog, securityKeyDialog::ID_CLOSE);
  });
  EXPECT_EQ(code, 10004);
  EXPECT_EQ(ReadStoredPhrase(*wxConfigBase::Get()), "ab c");
}

// The player seals with the phrase's single bytes (ISO-8859-1): an accented letter is stored
// as one byte, and a character outside that set is refused before anything is written.
TEST_F(SecurityKeyDialogTest, PhraseIsStoredAsSingleBytesAndOtherCharactersAreRefused) {
  StartEditing();
  TypeText(text, wxString::FromUTF8("\xe2\x82\xac uro"));
  wxTEST_DIALOG(ClickButton(dialog, securityKeyDialog::ID_SAVE),
                ExpectMessage("The Secret Phrase holds a character that cannot be stored: only the "
                              "characters of ISO-8859-1 (Western European letters) can be used.")
                    .Caption("Message"));
  EXPECT_EQ(StoredText(), "<absent>");
  ExpectState(true, true, false);

  SavePhrase(wxString::FromUTF8("cl\xc3\xa9 Z\xc3\xbcrich"), "Phrase has been saved");
  EXPECT_EQ(ReadStoredPhrase(*wxConfigBase::Get()), "cl\xe9 Z\xfcrich");
  EXPECT_EQ(StoredText().length(), 2u * 10u);
  ClickButton(dialog, securityKeyDialog::ID_LOAD);
  EXPECT_EQ(text->GetValue(), wxString::FromUTF8("cl\xc3\xa9 Z\xc3\xbcrich"));
}
