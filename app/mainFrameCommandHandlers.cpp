// The time-range, IIS, About and protection commands of the main window.
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/mediactrl.h>
#include <wx/textctrl.h>

#include "About.h"
#include "PreviewTime.h"
#include "mainFrame.h"
#include "securityDialog.h"
#include "securityKeyDialog.h"

namespace {

constexpr long kToolWindowStyle = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER;

// The preview's position, or the -1 of an empty preview when there is none
// (no media backend on this machine).
int64_t PreviewPosition(wxMediaCtrl* media) { return media ? media->Tell() : -1; }

}  // namespace

void mainFrame::OnSetStartTime(wxCommandEvent&) {
  startTimeText->SetValue(SecondsFromPreviewPosition(PreviewPosition(mediaCtrl)));
}

void mainFrame::OnSetEndTime(wxCommandEvent&) {
  endTimeText->SetValue(SecondsFromPreviewPosition(PreviewPosition(mediaCtrl)));
}

// Modeless: every use opens a new box, which destroys itself when closed.
void mainFrame::OnAboutSelected(wxCommandEvent&) {
  auto* about = new About(this, ID_ABOUT_DIALOG, _("About"), wxDefaultPosition, wxSize(420, 450), kToolWindowStyle);
  about->Show(true);
}

void mainFrame::OnManageIis(wxCommandEvent&) {
  encodeControl.ChangeOutputExtension(outputPathText, manageIisCheck, this);
}

void mainFrame::OnSecretPhraseSelected(wxCommandEvent&) { ShowSecretPhraseDialog(); }

void mainFrame::OnSecurityManagerSelected(wxCommandEvent&) { ShowSecurityFileManager(); }

// Modal, and gone when the modal loop ends, whatever it returned.
void mainFrame::ShowSecretPhraseDialog() {
  securityKeyDialog dialog(this, ID_SECRET_PHRASE_DIALOG, _("Secret Phrase"), wxDefaultPosition, wxSize(400, 300),
                           kToolWindowStyle);
  dialog.ShowModal();
}

void mainFrame::ShowSecurityFileManager() {
  securityDialog dialog(this, ID_SECURITY_MANAGER_DIALOG, _("securityDialog"), wxDefaultPosition, wxSize(400, 300),
                        kToolWindowStyle);
  dialog.ShowModal();
}
