// The gate before a run: the previous run is over, and the window's fields
// describe an encode that can be carried out. The first failure tells the
// user why and ends the checks.
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/wxcrt.h>


#include "abstractMainFrame.h"
#include "kePath.h"
#include "keUnnamedFile.h"
#include "appUtils.h"
#include "keEvent.h"

namespace {

const char kEditionTitle[] = "Ostrel Standard Edition v.3 ";

void ShowError(const wxString& text, wxWindow* parent) {
  wxMessageBox(text, kEditionTitle, wxOK | wxICON_ERROR, parent);
}

}  // namespace

bool abstractMainFrame::PrepareEncoding() {
  if (finishedEvent) finishedEvent->Wait(keINFINITE);
  done = false;
  return CheckParameters();
}

bool abstractMainFrame::CheckParameters() {
  const wxString input = inputField->GetValue();
  const wxString output = outputField->GetValue();

  if (!wxFileExists(input)) {
    ShowError(_("Input file not found"), frame);
    return false;
  }
  if (!wxDirExists(output.BeforeLast(kePlatform::kPathSeparator))) {
    ShowError(_("Output dir does not exist"), frame);
    return false;
  }
  if (output.AfterLast('.') != outputExtension) {
    ShowError(wxGetTranslation("Invalid output file name: e.g. mymedia." + outputExtension), frame);
    return false;
  }
  if (!AppUtils().IsValidFileName(output)) {
    wxMessageBox(_("Output file name contains illegal characters"), "Message", wxOK | wxCENTRE);
    return false;
  }
  // The writability test below empties the output: it must never be the
  // source, under whatever name.
  if (IsSameFileAsInput(output)) {
    ShowError(_("The output file is the input file: choose another output file name"), frame);
    return false;
  }
  // Nothing to encode: refused before the output is touched.
  if (!HasSelectedRow()) {
    ShowError(_("No stream selected: tick Encode in at least one row of the streams"), frame);
    return false;
  }
  if (wxFileExists(output)) {
    wxMessageDialog question(nullptr, _("Output file already exists: overwrite it ?"), kEditionTitle,
                             wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    if (question.ShowModal() != wxID_YES) return false;
  }
  FILE* probe = wxFopen(output, "wb");
  if (!probe) {
    ShowError(_("Unable to open output file. (permission, writeable, ...)"), frame);
    return false;
  }
  fclose(probe);
  wxRemoveFile(output);

  const struct {
    const char* label;
    wxTextCtrl* field;
  } integerFields[] = {
      {"Crop on top:", cropTopField},       {"Crop on right:", cropRightField}, {"Crop on bottom:", cropBottomField},
      {"Crop on left:", cropLeftField},     {"Start Time:", startTimeField},    {"End Time:", endTimeField},
  };
  for (const auto& entry : integerFields) {
    if (!AppUtils().IsIntegerField(wxGetTranslation(entry.label), entry.field->GetValue())) return false;
  }

  double start = 0.0;
  double end = 0.0;
  startTimeField->GetValue().ToCDouble(&start);
  endTimeField->GetValue().ToCDouble(&end);
  // An end of 0 stands for the end of the source.
  if (!(start < end) && end != 0.0) {
    ShowError(_("Start time or End time incorrect"), frame);
    return false;
  }
  return true;
}

bool abstractMainFrame::IsSameFileAsInput(const wxString& output) const {
  return kePlatform::IsSameFile(inputField->GetValue().utf8_string(), output.utf8_string());
}

bool abstractMainFrame::HasSelectedRow() const {
  if (!streamsGrid) return false;
  for (int row = 0; row < streamsGrid->GetNumberRows(); ++row) {
    if (!streamsGrid->GetCellValue(row, 0).empty()) return true;
  }
  return false;
}
