// The dialog that edits the temporary-files directory.
#include "tmpFileRootDialog.h"

#include <wx/button.h>
#include <wx/config.h>
#include <wx/dirdlg.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

wxIMPLEMENT_DYNAMIC_CLASS(tmpFileRootDialog, wxDialog);

wxBEGIN_EVENT_TABLE(tmpFileRootDialog, wxDialog)
  EVT_BUTTON(ID_TMP_DIR_BROWSE, tmpFileRootDialog::OnBrowseClick)
  EVT_BUTTON(ID_TMP_DIR_OK, tmpFileRootDialog::OnOkClick)
  EVT_BUTTON(ID_TMP_DIR_CANCEL, tmpFileRootDialog::OnCancelClick)
wxEND_EVENT_TABLE()

tmpFileRootDialog::tmpFileRootDialog() = default;

tmpFileRootDialog::tmpFileRootDialog(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                                     const wxSize& size, long style) {
  Create(parent, id, caption, pos, size, style);
  LoadTempDir();
}

bool tmpFileRootDialog::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                               const wxSize& size, long style) {
  directoryText = nullptr;
  SetExtraStyle(wxWS_EX_BLOCK_EVENTS);
  if (!wxDialog::Create(parent, id, caption, pos, size, style)) return false;
  CreateControls();
  if (GetSizer()) GetSizer()->SetSizeHints(this);
  Centre();
  return true;
}

void tmpFileRootDialog::CreateControls() {
  auto* top = new wxBoxSizer(wxVERTICAL);
  SetSizer(top);
  top->Add(5, 5, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);

  auto* row = new wxBoxSizer(wxHORIZONTAL);
  top->Add(row, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);
  auto* label = new wxStaticText(this, ID_TMP_DIR_LABEL, _("temp files dir:"));
  row->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
  row->Add(5, 5, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
  directoryText = new wxTextCtrl(this, ID_TMP_DIR_TEXT, _("c:\\"), wxDefaultPosition, wxSize(450, -1));
  directoryText->SetToolTip(_("insert the directory where storage temporary files"));
  row->Add(directoryText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
  auto* browse = new wxButton(this, ID_TMP_DIR_BROWSE, _("Browse"));
  browse->SetToolTip(_("browse and select directory where storage temporary files"));
  row->Add(browse, 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);

  top->Add(5, 5, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);

  auto* buttons = new wxFlexGridSizer(2, 2, 0, 0);
  top->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);
  auto* ok = new wxButton(this, ID_TMP_DIR_OK, _("Ok"));
  ok->SetDefault();
  ok->SetToolTip(_("save directory where storage temporary files"));
  buttons->Add(ok, 0, wxALIGN_CENTER_HORIZONTAL | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  auto* cancel = new wxButton(this, ID_TMP_DIR_CANCEL, _("Cancel"));
  cancel->SetToolTip(_("Cancel and exit"));
  buttons->Add(cancel, 0, wxALIGN_CENTER_HORIZONTAL | wxALIGN_CENTER_VERTICAL | wxALL, 5);
}

void tmpFileRootDialog::LoadTempDir() {
  wxString value;
  if (wxConfigBase* config = wxConfigBase::Get()) {
    config->SetPath("/General");
    value = config->Read("tmpDir", wxString());
  }
  if (value.empty()) value = wxGetHomeDir();
  SetTempDir(value);
  if (directoryText) directoryText->SetValue(value);
}

void tmpFileRootDialog::OnSaveTempDir() {
  wxConfigBase* config = wxConfigBase::Get();
  if (!config) {
    wxMessageBox(_("Unable to save temporary files direcotry!!"), _("Message"), wxOK | wxCENTRE);
    return;
  }
  if (config->Write("/General/tmpDir", directory) && config->Flush()) {
    wxMessageBox(_("temporary files directory saved"), _("Message"), wxOK | wxCENTRE);
  } else {
    wxMessageBox(_("Unable to save directory!!"), _("Message"), wxOK | wxCENTRE);
  }
}

void tmpFileRootDialog::OnBrowseTempDir() {
  wxDirDialog chooser(this, _("Select Directory for temporary files"), directoryText->GetValue());
  if (chooser.ShowModal() == wxID_OK) directoryText->SetValue(chooser.GetPath());
}

void tmpFileRootDialog::ApplyOk() {
  directory = directoryText->GetValue();
  OnSaveTempDir();
}

void tmpFileRootDialog::OnBrowseClick(wxCommandEvent&) { OnBrowseTempDir(); }

void tmpFileRootDialog::OnOkClick(wxCommandEvent&) {
  ApplyOk();
  EndModal(ID_TMP_DIR_OK);
}

void tmpFileRootDialog::OnCancelClick(wxCommandEvent&) { EndModal(ID_TMP_DIR_CANCEL); }
