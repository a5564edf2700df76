// The gate before a run, passed while the window is still idle: the previous
// run is over, the window's fields are read once, checked in order with the
// user told at the first failure, the questions are asked, and the set-up's
// own checks turn the fields into the run's plan and its engine objects.
// Nothing here changes a file: an existing output and page stay byte for
// byte until a complete new container replaces the output.
#include <wx/checkbox.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdlib>

#include "EncodeSession.h"
#include "HtmlPage.h"
#include "ProductVersion.h"
#include "WritableFile.h"
#include "WxText.h"
#include "abstractMainFrame.h"
#include "appUtils.h"
#include "platform/kePath.h"
#include "keEvent.h"
#include "platform/keUnnamedFile.h"

namespace {

void ShowError(const wxString& text, wxWindow* parent) {
  wxMessageBox(text, kEditionTitle, wxOK | wxICON_ERROR, parent);
}

std::string TextOf(const wxTextCtrl* field) { return field ? ToUtf8(field->GetValue()) : std::string(); }

bool IsTicked(const wxCheckBox* box) { return box && box->IsChecked(); }

bool HasSelectedRow(const EncodeFields& fields) {
  return std::any_of(fields.rows.begin(), fields.rows.end(),
                     [](const StreamProfileRow& row) { return !row[kColumnEncode].empty(); });
}

}  // namespace

EncodeFields abstractMainFrame::ReadEncodeFields() const {
  EncodeFields fields;
  fields.inputPath = TextOf(window.input);
  fields.outputPath = TextOf(window.output);
  fields.startSeconds = TextOf(window.startTime);
  fields.endSeconds = TextOf(window.endTime);
  fields.cropTop = TextOf(window.cropTop);
  fields.cropRight = TextOf(window.cropRight);
  fields.cropBottom = TextOf(window.cropBottom);
  fields.cropLeft = TextOf(window.cropLeft);
  fields.deinterlace = IsTicked(window.deinterlace);
  fields.keepSourceDimensions = IsTicked(window.keepSourceSize);
  fields.keepAspectRatio = IsTicked(window.keepAspect);
  fields.sourceWidth = sourceWidth;
  fields.sourceHeight = sourceHeight;
  if (wxGrid* grid = window.grid) {
    const int rows = std::min(grid->GetNumberRows(), kStreamRowCount);
    const int columns = std::min(grid->GetNumberCols(), kStreamColumnCount);
    for (int row = 0; row < rows; ++row) {
      for (int column = 0; column < columns; ++column)
        fields.rows[row][column] = ToUtf8(grid->GetCellValue(row, column));
    }
  }
  fields.tempDir = ToUtf8(tempDirectory);
  return fields;
}

std::unique_ptr<EncodeSession> abstractMainFrame::PrepareEncoding() {
  if (finishedEvent) finishedEvent->Wait(keINFINITE);
  done = false;
  const EncodeFields fields = ReadEncodeFields();
  if (!CheckParameters(fields)) return nullptr;

  PlanOrRefusal planned = PlanEncode(fields);
  if (planned.Planned()) {
    planned.plan.page.write = IsTicked(window.htmlPage);
    planned.plan.page.toolbar = planned.plan.page.write && IsTicked(window.graphicToolbar);
    planned.plan.page.show = planned.plan.page.write && IsTicked(window.showVideo);
    auto prepared = std::make_unique<EncodeSession>();
    const CheckOutcome setUp = prepared->Prepare(planned.plan);
    if (setUp.Passed()) return prepared;
    planned.refusal = setUp.refusal;
  }
  ShowError(wxString::FromUTF8(planned.refusal), window.frame);
  return nullptr;
}

bool abstractMainFrame::CheckParameters(const EncodeFields& fields) {
  const wxString input = wxString::FromUTF8(fields.inputPath);
  const wxString output = wxString::FromUTF8(fields.outputPath);
  wxWindow* parent = window.frame;

  if (!wxFileExists(input)) {
    ShowError(_("Input file not found"), parent);
    return false;
  }
  if (!wxDirExists(output.BeforeLast(kePlatform::kPathSeparator))) {
    ShowError(_("Output dir does not exist"), parent);
    return false;
  }
  if (output.AfterLast('.') != outputExtension) {
    ShowError(wxGetTranslation("Invalid output file name: e.g. mymedia." + outputExtension), parent);
    return false;
  }
  if (!AppUtils().IsValidFileName(output)) {
    wxMessageBox(_("Output file name contains illegal characters"), "Message", wxOK | wxCENTRE);
    return false;
  }
  // Refused before any question: the output must never be the source, and
  // a run needs something to encode.
  if (kePlatform::IsSameFile(fields.inputPath, fields.outputPath)) {
    ShowError(_("The output file is the input file: choose another output file name"), parent);
    return false;
  }
  // The page is written beside the output under the output's name: a source
  // named like it would be replaced by it.
  const bool withPage = IsTicked(window.htmlPage);
  const std::string page = HtmlPagePath(fields.outputPath);
  const wxString pageName = wxString::FromUTF8(kePlatform::FileNameOf(page));
  if (withPage && kePlatform::IsSameFile(fields.inputPath, page)) {
    ShowError(wxString::Format(_("The HTML page %s is the input file: choose another output file name"), pageName),
              parent);
    return false;
  }
  if (!HasSelectedRow(fields)) {
    ShowError(_("No stream selected: tick Encode in at least one row of the streams"), parent);
    return false;
  }
  if (wxFileExists(output) && !MayReplace(_("Output file already exists: overwrite it ?"))) return false;
  // The page is replaced after the run without another word: asked now.
  if (withPage && wxFileExists(wxString::FromUTF8(page)) &&
      !MayReplace(wxString::Format(_("HTML page %s already exists: overwrite it ?"), pageName))) {
    return false;
  }
  // Asked of the file without emptying it: the older output stays until a
  // complete new one takes its place.
  if (!CanOpenForWriting(fields.outputPath)) {
    ShowError(_("Unable to open output file. (permission, writeable, ...)"), parent);
    return false;
  }
  // And of the page, which is written only after the run: found now, a page
  // that cannot be written costs no encode.
  std::string whyNot;
  if (withPage && !CanReplaceFile(page, &whyNot)) {
    ShowError(wxString::Format(_("The HTML page %s cannot be written: %s."), pageName, wxString::FromUTF8(whyNot)),
              parent);
    return false;
  }

  const struct {
    const char* label;
    const std::string& text;
  } integerFields[] = {
      {"Crop on top:", fields.cropTop},   {"Crop on right:", fields.cropRight}, {"Crop on bottom:", fields.cropBottom},
      {"Crop on left:", fields.cropLeft}, {"Start Time:", fields.startSeconds}, {"End Time:", fields.endSeconds},
  };
  for (const auto& entry : integerFields) {
    if (!AppUtils().IsIntegerField(wxGetTranslation(entry.label), wxString::FromUTF8(entry.text))) return false;
  }

  // Digits only by now.
  const double start = std::strtod(fields.startSeconds.c_str(), nullptr);
  const double end = std::strtod(fields.endSeconds.c_str(), nullptr);
  // An end of 0 stands for the end of the source.
  if (!(start < end) && end != 0.0) {
    ShowError(_("Start time or End time incorrect"), parent);
    return false;
  }
  return true;
}

bool abstractMainFrame::MayReplace(const wxString& question) const {
  wxMessageDialog dialog(nullptr, question, kEditionTitle, wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
  return dialog.ShowModal() == wxID_YES;
}
