// The encode control's part of the "Manage IIS" box: ask, then switch the
// output extension and rewrite the output field with it.
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/textctrl.h>

#include <string>

#include "abstractMainFrame.h"
#include "OutputExtension.h"
#include "iisManager.h"
#include "WxText.h"

void abstractMainFrame::ChangeOutputExtension(wxTextCtrl* output, wxCheckBox* manageIis, wxWindow* parent) {
  // The default is always "osq", whatever extension is in force now: the
  // dialog only ever switches between the two.
  wxString extension;
  bool iisInForce = false;
  {
    iisManager dialog(parent, ID_IIS_MANAGER, _("IIS Manager"), wxDefaultPosition, wxSize(650, 100),
                      wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX, manageIis, kDefaultOutputExtension);
    dialog.ShowModal();
    extension = dialog.GetExtension();
    iisInForce = dialog.IsChanged();
  }
  outputExtension = extension;

  if (output && !output->GetValue().empty()) {
    const std::string path = ToUtf8(output->GetValue());
    output->SetValue(wxString::FromUTF8(WithExtension(path, ToUtf8(outputExtension))));
  }
  if (manageIis) manageIis->SetValue(iisInForce);
}
