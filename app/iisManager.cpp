// The IIS extension dialog: texts, buttons and the four outcomes.
#include "iisManager.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "appUtils.h"

const char* const kIisExtension = "jpg";

namespace {

// The maker's page that tells how to find out which server a site runs on.
constexpr const char* kServerCheckUrl = "http://www.harwelco.com/ostrel/iis/";

constexpr const char* kExplanation =
    "The web server IIS 6 for security reason, block all files with unknown extension and it "
    "doesn't serve the video file; \nas conseguence the Applet player show the File Not Found "
    "error message.\nTo fix the issue, the video name will be modified from myvideo.osq to "
    "myvideo.jpg \nand as conseguence will be changed the VideoPath parameter value in the "
    "applet code. \n";

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(iisManager, wxDialog);

wxBEGIN_EVENT_TABLE(iisManager, wxDialog)
  EVT_BUTTON(ID_IIS_OK, iisManager::OnChangeExtension)
  EVT_BUTTON(ID_IIS_CANCEL, iisManager::OnCancel)
  EVT_BUTTON(ID_IIS_CHECK, iisManager::OnCheckServer)
  EVT_CLOSE(iisManager::OnCloseWindow)
wxEND_EVENT_TABLE()

wxString iisManager::BuildTimeText() { return wxString(kExplanation) + "\nDo you want to continue?"; }

wxString iisManager::TickedText() { return wxString(kExplanation) + "Do you want to continue?"; }

wxString iisManager::UntickedText() {
  return "\nAre you sure your web server isn't IIS 6? \n\n(The web server IIS 6 for security "
         "reason, block all files with unknown extension.\nIf you are not sure of your web "
         "server verify it.)\n";
}

iisManager::iisManager() = default;

iisManager::iisManager(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
                       long style, wxCheckBox* manageIis, const wxString& extension) {
  Create(parent, id, caption, pos, size, style, manageIis, extension);
}

bool iisManager::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                        const wxSize& size, long style, wxCheckBox* manageIis, const wxString& extension) {
  SetExtraStyle(wxWS_EX_BLOCK_EVENTS);
  if (!wxDialog::Create(parent, id, caption, pos, size, style)) return false;
  CreateControls();
  GetSizer()->Fit(this);
  CentreOnScreen();

  defaultExtension = extension;
  tickedAtStart = manageIis && manageIis->GetValue();
  changed = tickedAtStart;
  message->SetLabel(tickedAtStart ? TickedText() : UntickedText());
  // The longer text may need more room than the one the dialog was fitted to.
  GetSizer()->Fit(this);
  return true;
}

void iisManager::CreateControls() {
  auto* column = new wxBoxSizer(wxVERTICAL);
  SetSizer(column);

  message =
      new wxStaticText(this, ID_IIS_MESSAGE, _(BuildTimeText()), wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE);
  column->Add(message, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);

  auto* buttons = new wxFlexGridSizer(1, 4, 0, 0);
  column->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, 5);

  okButton = new wxButton(this, ID_IIS_OK, _("Ok"));
  okButton->SetToolTip(_("change file extension"));
  buttons->Add(okButton, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 5);

  cancelButton = new wxButton(this, ID_IIS_CANCEL, _("Cancel"));
  cancelButton->SetToolTip(_("cancel and exit"));
  buttons->Add(cancelButton, 0, wxGROW | wxALIGN_CENTER_VERTICAL | wxALL, 5);

  checkButton = new wxButton(this, ID_IIS_CHECK, _("Check"));
  checkButton->SetDefault();
  checkButton->SetToolTip(_("check if your web server is IIS"));
  buttons->Add(checkButton, 0, wxGROW | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  checkButton->Show(false);

  // Escape answers as Cancel does, so the caller always gets an extension.
  SetEscapeId(ID_IIS_CANCEL);
}

void iisManager::Decide(bool confirmed) {
  // Ok keeps the box as the user just set it, Cancel puts it back.
  const bool iisInForce = confirmed ? tickedAtStart : !tickedAtStart;
  changed = iisInForce;
  resultExtension = iisInForce ? wxString(kIisExtension) : defaultExtension;
}

void iisManager::OnChangeExtension(wxCommandEvent&) {
  Decide(true);
  Finish(1);
}

void iisManager::OnCancel(wxCommandEvent&) {
  Decide(false);
  Finish(0);
}

void iisManager::OnCheckServer(wxCommandEvent&) { AppUtils().OpenInBrowser(kServerCheckUrl); }

// Without a button the caller would get no extension at all and write an
// output name ending in a bare dot: a close is taken as Cancel.
void iisManager::OnCloseWindow(wxCloseEvent&) {
  Decide(false);
  Finish(0);
}

// Ends the modal loop, or only hides a dialog that was not shown modally.
void iisManager::Finish(int code) {
  SetReturnCode(code);
  EndDialog(code);
}
