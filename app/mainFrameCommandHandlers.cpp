// The settings, time-range, HTML-page, IIS, About and protection commands of
// the main window.
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
constexpr int kAboutId = 10022;
constexpr int kSecretPhraseId = 10000;
constexpr int kSecurityManagerId = 10002;

// The preview's position, or the -1 of an empty preview when there is none
// (no media backend on this machine).
int64_t PreviewPosition(wxMediaCtrl* media) { return media ? media->Tell() : -1; }

}  // namespace

void mainFrame::OnLoadSettingsSelected(wxCommandEvent&) { LoadSettings(); }

void mainFrame::OnSaveSettingsSelected(wxCommandEvent&) { SaveSettings(); }

void mainFrame::OnSetStartTime(wxCommandEvent&) {
  startTimeText->SetValue(SecondsFromPreviewPosition(PreviewPosition(mediaCtrl)));
}

void mainFrame::OnSetEndTime(wxCommandEvent&) {
  endTimeText->SetValue(SecondsFromPreviewPosition(PreviewPosition(mediaCtrl)));
}

// Without a page there is nothing to show or to dress with a toolbar.
void mainFrame::OnGenerateHtmlPage(wxCommandEvent&) {
  if (htmlPageCheck->GetValue()) {
    showVideoCheck->Enable();
    graphicToolbarCheck->Enable();
    return;
  }
  showVideoCheck->SetValue(false);
  showVideoCheck->Disable();
  graphicToolbarCheck->SetValue(false);
  graphicToolbarCheck->Disable();
}

// Modeless: every use opens a new box, which destroys itself when closed.
void mainFrame::OnAboutSelected(wxCommandEvent&) {
  auto* about =
      new About(this, kAboutId, _("About"), wxDefaultPosition, wxSize(420, 450), kToolWindowStyle);
  about->Show(true);
}

void mainFrame::OnManageIis(wxCommandEvent&) {
  encodeControl.ChangeOutputExtension(outputPathText, manageIisCheck, this);
}

void mainFrame::OnSecretPhraseSelected(wxCommandEvent&) { ShowSecretPhraseDialog(); }

void mainFrame::OnSecurityManagerSelected(wxCommandEvent&) { ShowSecurityFileManager(); }

// Modal, and gone when the modal loop ends, whatever it returned.
void mainFrame::ShowSecretPhraseDialog() {
  securityKeyDialog dialog(this, kSecretPhraseId, _("Secret Phrase"), wxDefaultPosition,
                           wxSize(400, 300), kToolWindowStyle);
  dialog.ShowModal();
}

void mainFrame::ShowSecurityFileManager() {
  securityDialog dialog(this, kSecurityManagerId, _("securityDialog"), wxDefaultPosition,
                        wxSize(400, 300), kToolWindowStyle);
  dialog.ShowModal();
}
