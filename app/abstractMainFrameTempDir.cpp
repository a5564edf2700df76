// The encode control's temporary-files directory: read from the
// configuration, asked for when none is set, edited through the dialog.
#include <wx/config.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "abstractMainFrame.h"
#include "tmpFileRootDialog.h"

namespace {

void RunTempDirDialog(wxWindow* parent) {
  tmpFileRootDialog dialog(parent, ID_TMP_FILE_ROOT_DIALOG, _("Temporary files directory"), wxDefaultPosition,
                           wxSize(650, 150), wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
  dialog.ShowModal();
}

wxString ReadTempDir(wxConfigBase* config) {
  config->SetPath("/General");
  return config->Read("tmpDir", wxString());
}

}  // namespace

// The question returns for as long as the directory stays empty and the user
// answers Yes; a No stores the home directory and ends it.
wxString abstractMainFrame::GetTempDir(wxWindow* parent) {
  wxConfigBase* config = wxConfigBase::Get();
  if (!config) return wxString();
  while (ReadTempDir(config).empty()) {
    const int answer =
        wxMessageBox(_("Your temporary files directory is not defined. Do you want to set it? (if no you mantain "
                       "default direcotry) "),
                     _("Ostrel temporary files direcotry manager"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    if (answer == wxYES) {
      RunTempDirDialog(parent);
      continue;
    }
    if (!config->Write("/General/tmpDir", wxGetHomeDir()) || !config->Flush()) {
      wxMessageBox(_("Unable to save default directory!!"), _("Message"), wxOK | wxCENTRE);
    }
    break;
  }
  return ReadTempDir(config);
}

void abstractMainFrame::ShowTempDirDialog(wxWindow* parent) {
  RunTempDirDialog(parent);
  SetTempDirectory(GetTempDir(parent));
}
