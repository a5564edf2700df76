// The main window's fields and profile rows kept under "/Controls": loaded
// on "Load settings" without a question, saved on "Save settings" after one,
// with the two commands' handlers.
// Values go in and out unchecked; the checks before an encode judge them.
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include <array>

#include "SavedSettingsKeys.h"
#include "mainFrame.h"

namespace {

wxString RowGroup(int row) { return wxString::Format("%s%d", kSettingsRowGroupPrefix, row); }

// The fields in the order of kSettingsTextKeys and kSettingsTickKeys.
std::array<wxTextCtrl*, kSettingsTextKeyCount> TextFields(mainFrame& frame) {
  return {frame.inputPathText, frame.outputPathText, frame.startTimeText,  frame.endTimeText,
          frame.cropTopText,   frame.cropRightText,  frame.cropBottomText, frame.cropLeftText};
}

std::array<wxCheckBox*, kSettingsTickKeyCount> TickBoxes(mainFrame& frame) {
  return {frame.deinterlaceCheck, frame.aspectRatioCheck, frame.sourceDimensionCheck,
          frame.htmlPageCheck,    frame.showVideoCheck,   frame.graphicToolbarCheck};
}

}  // namespace

void mainFrame::LoadSettings() {
  wxConfigBase* config = wxConfigBase::Get();
  if (!config) return;
  // Loading the defaults of keys never written would empty the window.
  if (!config->HasGroup(kSettingsGroup)) {
    wxMessageBox(_("No settings have been saved yet: nothing was loaded."), _("Message"), wxOK, this);
    return;
  }
  config->SetPath(kSettingsGroup);

  // Setting the input field raises its text event: the loaded source is
  // probed as if the user had typed it.
  const auto fields = TextFields(*this);
  for (int i = 0; i < kSettingsTextKeyCount; ++i) {
    fields[i]->SetValue(config->Read(kSettingsTextKeys[i], kSettingsTextDefaults[i]));
  }
  const auto boxes = TickBoxes(*this);
  for (int i = 0; i < kSettingsTickKeyCount; ++i) {
    bool ticked = false;
    config->Read(kSettingsTickKeys[i], &ticked, false);
    boxes[i]->SetValue(ticked);
  }

  // Ticks set from code raise no event: the boxes' rules are applied here,
  // as their own handlers would.
  ApplyOptionChoices();

  for (int row = 0; row < kStreamRowCount; ++row) {
    config->SetPath(RowGroup(row));
    for (int col = 0; col < kStreamColumnCount; ++col) {
      streamsGrid->SetCellValue(row, col, config->Read(kSettingsRowKeys[col], wxString()));
    }
  }
}

void mainFrame::SaveSettings() {
  const int answer = wxMessageBox(_("Save current settings ?"), _("Ostrel"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  if (answer != wxYES) return;
  wxConfigBase* config = wxConfigBase::Get();
  if (!config) return;

  const wxString group = wxString(kSettingsGroup) + "/";
  const auto fields = TextFields(*this);
  for (int i = 0; i < kSettingsTextKeyCount; ++i) {
    config->Write(group + kSettingsTextKeys[i], fields[i]->GetValue());
  }
  const auto boxes = TickBoxes(*this);
  for (int i = 0; i < kSettingsTickKeyCount; ++i) {
    config->Write(group + kSettingsTickKeys[i], boxes[i]->GetValue());
  }
  for (int row = 0; row < kStreamRowCount; ++row) {
    const wxString rowGroup = RowGroup(row) + "/";
    for (int col = 0; col < kStreamColumnCount; ++col) {
      config->Write(rowGroup + kSettingsRowKeys[col], streamsGrid->GetCellValue(row, col));
    }
  }
  // Written out now: the settings survive whatever ends the program later.
  // A save that did not reach the disk must not pass for one that did.
  if (!config->Flush()) {
    wxMessageBox(_("The settings could not be saved: the configuration could not be written."), _("Error"),
                 wxOK | wxICON_ERROR, this);
  }
}

void mainFrame::OnLoadSettingsSelected(wxCommandEvent&) { LoadSettings(); }

void mainFrame::OnSaveSettingsSelected(wxCommandEvent&) { SaveSettings(); }
