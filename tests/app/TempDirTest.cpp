// The temporary-files directory: "/General/tmpDir", the question when none is
// stored, and the dialog with its Browse, Ok and Cancel.
#include <wx/button.h>
#include <wx/config.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"

namespace {

const char* const kQuestion =
    "Your temporary files directory is not defined. Do you want to set it? (if no you mantain "
    "default direcotry) ";

wxString StoredTempDir() { return wxConfigBase::Get()->Read("/General/tmpDir", wxString()); }

class TempDirTest : public AppTest {};

TEST_F(TempDirTest, AnsweringNoStoresTheHomeDirectoryAndLaterStartsAskNothing) {
  wxTEST_DIALOG(BuildFrame(), ExpectMessage(kQuestion, wxNO));
  EXPECT_EQ(StoredTempDir(), wxGetHomeDir());
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), wxGetHomeDir());
  frame->Destroy();
  frame = nullptr;
  DeletePendingWindows();
  EXPECT_NO_DIALOG(BuildFrame());
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), wxGetHomeDir());
}

TEST_F(TempDirTest, CancelInTheDialogAsksAgainUntilNo) {
  int shown = 0;
  const auto cancel = [&shown](tmpFileRootDialog*) { ++shown; };
  wxTEST_DIALOG(BuildFrame(), ExpectMessage(kQuestion, wxYES),
                wxExpectModal<tmpFileRootDialog>(cancel, ID_TMP_DIR_CANCEL), ExpectMessage(kQuestion, wxYES),
                wxExpectModal<tmpFileRootDialog>(cancel, ID_TMP_DIR_CANCEL), ExpectMessage(kQuestion, wxNO));
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(StoredTempDir(), wxGetHomeDir());
}

TEST_F(TempDirTest, OkInTheDialogStoresTheTypedDirectory) {
  const auto type = [](tmpFileRootDialog* dialog) {
    EXPECT_EQ(dialog->directoryText->GetValue(), wxGetHomeDir());  // never the initial "c:\"
    dialog->directoryText->SetValue("/srv/ostrel-tmp");
    dialog->ApplyOk();
  };
  wxTEST_DIALOG(BuildFrame(), ExpectMessage(kQuestion, wxYES), wxExpectModal<tmpFileRootDialog>(type, ID_TMP_DIR_OK),
                ExpectMessage("temporary files directory saved", wxOK));
  EXPECT_EQ(StoredTempDir(), "/srv/ostrel-tmp");
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), "/srv/ostrel-tmp");
}

TEST_F(TempDirTest, TheMenuCommandShowsTheStoredDirectoryAndBrowseThenCancelKeepsIt) {
  ConfigureTempDir("/var/tmp/stored");
  EXPECT_NO_DIALOG(BuildFrame());
  const auto browseThenCancel = [](tmpFileRootDialog* dialog) {
    EXPECT_EQ(dialog->GetId(), ID_TMP_FILE_ROOT_DIALOG);
    EXPECT_EQ(dialog->GetTitle(), "Temporary files directory");
    EXPECT_EQ(dialog->directoryText->GetValue(), "/var/tmp/stored");
    // The chooser is answered with Cancel: its choice would go into the field only.
    wxTEST_DIALOG(SendCommand(dialog, wxEVT_BUTTON, ID_TMP_DIR_BROWSE),
                  ExpectFolder("Select Directory for temporary files", wxCANCEL));
    EXPECT_EQ(dialog->directoryText->GetValue(), "/var/tmp/stored");
  };
  wxTEST_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_TEMP_DIR),
                wxExpectModal<tmpFileRootDialog>(browseThenCancel, ID_TMP_DIR_CANCEL));
  EXPECT_EQ(StoredTempDir(), "/var/tmp/stored");
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), "/var/tmp/stored");
}

TEST_F(TempDirTest, SavingAnEmptyFieldAsksTheQuestionAgain) {
  ConfigureTempDir("/var/tmp/stored");
  EXPECT_NO_DIALOG(BuildFrame());
  const auto empty = [](tmpFileRootDialog* dialog) {
    dialog->directoryText->SetValue("");
    dialog->ApplyOk();
  };
  wxTEST_DIALOG(frame->encodeControl.ShowTempDirDialog(frame), wxExpectModal<tmpFileRootDialog>(empty, ID_TMP_DIR_OK),
                ExpectMessage("temporary files directory saved", wxOK), ExpectMessage(kQuestion, wxNO));
  EXPECT_EQ(frame->encodeControl.GetTempDirectory(), wxGetHomeDir());
}

TEST_F(TempDirTest, TheDialogHasItsControls) {
  ResetTestConfig();
  tmpFileRootDialog dialog(nullptr, ID_TMP_FILE_ROOT_DIALOG, "Temporary files directory", wxDefaultPosition,
                           wxSize(650, 150), wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
  struct ControlCase {
    int id;
    const char* label;
    const char* tooltip;
  };
  const std::vector<ControlCase> controls = {
      {ID_TMP_DIR_LABEL, "temp files dir:", ""},
      {ID_TMP_DIR_BROWSE, "Browse", "browse and select directory where storage temporary files"},
      {ID_TMP_DIR_OK, "Ok", "save directory where storage temporary files"},
      {ID_TMP_DIR_CANCEL, "Cancel", "Cancel and exit"},
  };
  for (const ControlCase& c : controls) {
    SCOPED_TRACE(c.label);
    wxWindow* control = wxWindow::FindWindowById(c.id, &dialog);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetLabel(), c.label);
    EXPECT_EQ(control->GetToolTip() ? control->GetToolTip()->GetTip() : wxString(), c.tooltip);
  }
  EXPECT_EQ(dialog.GetDefaultItem(), wxWindow::FindWindowById(ID_TMP_DIR_OK, &dialog));
  ASSERT_NE(dialog.directoryText, nullptr);
  EXPECT_EQ(dialog.directoryText->GetId(), ID_TMP_DIR_TEXT);
  EXPECT_EQ(dialog.directoryText->GetToolTip()->GetTip(), "insert the directory where storage temporary files");
  EXPECT_EQ(dialog.directoryText->GetValue(), wxGetHomeDir());
  EXPECT_EQ(dialog.GetTempDir(), wxGetHomeDir());
}

}  // namespace
