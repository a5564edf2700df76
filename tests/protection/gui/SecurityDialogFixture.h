// A security file manager dialog as the window creates it, over a fresh configuration and
// with the program-wide edit flags as at program start.
#pragma once

#include "DialogDriving.h"
#include "GuiTestSupport.h"
#include "ModalExpectations.h"
#include "ProtectionTestFiles.h"
#include "securityDialog.h"
#include "securityEditFlags.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>

#include <memory>

class SecurityDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTestConfig();
    securityEditFlags::codeBaseEdited = false;
    securityEditFlags::documentBaseEdited = false;
    dialog = NewDialog();
  }

  void TearDown() override {
    for (securityDialog* opened : dialogs) opened->Destroy();
    ResetTestConfig();
  }

  securityDialog* NewDialog() {
    auto* opened = new securityDialog(nullptr, 10002, "securityDialog", wxDefaultPosition, wxSize(400, 300),
                                      wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
    dialogs.push_back(opened);
    return opened;
  }

  wxGrid* CodeBases(securityDialog* d = nullptr) {
    return Child<wxGrid>(d ? d : dialog, securityDialog::ID_CODEBASE_GRID);
  }
  wxGrid* DocumentBases(securityDialog* d = nullptr) {
    return Child<wxGrid>(d ? d : dialog, securityDialog::ID_DOCUMENTBASE_GRID);
  }
  wxComboBox* Mode(securityDialog* d = nullptr) { return Child<wxComboBox>(d ? d : dialog, securityDialog::ID_MODE); }
  wxCheckBox* ExpireDateBox(securityDialog* d = nullptr) {
    return Child<wxCheckBox>(d ? d : dialog, securityDialog::ID_ENABLE_EXPIRE_DATE);
  }
  wxDatePickerCtrl* ExpireDate(securityDialog* d = nullptr) {
    return Child<wxDatePickerCtrl>(d ? d : dialog, securityDialog::ID_EXPIRE_DATE);
  }

  /// Save XML, Generate Security File, Generate Only Auth File.
  void ExpectButtons(bool saveXml, bool security, bool auth, securityDialog* d = nullptr) {
    securityDialog* target = d ? d : dialog;
    EXPECT_EQ(IsEnabled(target, securityDialog::ID_SAVE_XML), saveXml);
    EXPECT_EQ(IsEnabled(target, securityDialog::ID_GENERATE_SECURITY), security);
    EXPECT_EQ(IsEnabled(target, securityDialog::ID_GENERATE_AUTH), auth);
  }

  /// Ticks "Enable security expire date" and sets the global date.
  void SetGlobalDate(int day, wxDateTime::Month month, int year) {
    ClickCheckBox(dialog, securityDialog::ID_ENABLE_EXPIRE_DATE, true);
    ExpireDate()->SetValue(wxDateTime(static_cast<wxDateTime::wxDateTime_t>(day), month, year));
  }

  TempDir folder;
  securityDialog* dialog = nullptr;
  std::vector<securityDialog*> dialogs;
};

inline const char* const kTxtWildcard = "TXT files|*.txt|All files|*.*";
inline const char* const kXmlWildcard = "XML files|*.xml|All files|*.*";
inline const char* const kBothNeeded = "Before Save insert at least a documentbase and a codebase";

inline ExpectFile ExpectSecurityFileDialog(const wxString& path, int answer = wxID_OK) {
  return ExpectFile("Save SECURITY file as...", kTxtWildcard, FileChoice::kSaveAskingToOverwrite, path, answer);
}

inline ExpectFile ExpectAuthFileDialog(const wxString& path, int answer = wxID_OK) {
  return ExpectFile("Save AUTH file as...", kTxtWildcard, FileChoice::kSaveAskingToOverwrite, path, answer);
}
