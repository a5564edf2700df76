// The dialog that edits the temporary-files directory ("/General/tmpDir").
#pragma once

#include <wx/dialog.h>

class wxTextCtrl;

enum tmpFileRootDialogId {
  ID_TMP_FILE_ROOT_DIALOG = 10063,
  ID_TMP_DIR_LABEL = 5105,
  ID_TMP_DIR_TEXT = 10064,
  ID_TMP_DIR_BROWSE = 10065,
  ID_TMP_DIR_OK = 10002,
  ID_TMP_DIR_CANCEL = 10003,
};

class tmpFileRootDialog : public wxDialog {
  wxDECLARE_DYNAMIC_CLASS(tmpFileRootDialog);
  wxDECLARE_EVENT_TABLE();

 public:
  tmpFileRootDialog();
  tmpFileRootDialog(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
                    long style);

  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
              long style);
  void CreateControls();

  /// The directory and the field from the configuration (the home directory when none).
  void LoadTempDir();
  void SetTempDir(const wxString& directory) { this->directory = directory; }
  const wxString& GetTempDir() const { return directory; }
  /// Writes the directory to the configuration and says how that went.
  void OnSaveTempDir();
  /// The directory chooser; a confirmed choice goes into the field only.
  void OnBrowseTempDir();
  /// What Ok does before the dialog ends: the field's value is saved.
  void ApplyOk();

  void OnBrowseClick(wxCommandEvent& event);
  void OnOkClick(wxCommandEvent& event);
  void OnCancelClick(wxCommandEvent& event);

  wxTextCtrl* directoryText = nullptr;

 private:
  wxString directory;
};
