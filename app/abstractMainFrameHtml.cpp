// The encode control's part of publishing: the applet page beside the output,
// the applet archive and toolbar image copied next to it, and the page opened
// in the browser when asked. Every step runs whatever the earlier ones gave;
// failures go to the toolkit's error log, never to the encode run.
#include <wx/filefn.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/textctrl.h>
#include <wx/uri.h>

#include <string>

#include "HtmlPage.h"
#include "ProgramDirectory.h"
#include "abstractMainFrame.h"
#include "appUtils.h"
#include "kePath.h"
#include "keUnnamedFile.h"

namespace {

std::string ToUtf8(const wxString& text) { return std::string(text.utf8_str()); }

// The page declares iso-8859-1, so its text is stored one byte a character.
// A character beyond that set is written as a character reference, which
// the browser reads back as that same character.
std::string ToPageText(const wxString& text) {
  std::string bytes;
  for (wxUniChar c : text) {
    const wxUint32 code = c.GetValue();
    if (code < 256) {
      bytes += static_cast<char>(code);
    } else {
      bytes += "&#" + std::to_string(code) + ";";
    }
  }
  return bytes;
}

void CopyBesideThePage(const std::string& programDir, const std::string& outputDir,
                       const std::string& name) {
  const std::string from = kePlatform::JoinPath(programDir, name);
  const std::string to = kePlatform::JoinPath(outputDir, name);
  // With the output in the program's own folder the files are already in
  // place; copying a file onto itself is at best a failure to log.
  if (kePlatform::IsSameFile(from, to)) return;
  if (!wxCopyFile(wxString::FromUTF8(from), wxString::FromUTF8(to), true)) {
    wxLogError(_("Could not copy \"%s\" to \"%s\"."), wxString::FromUTF8(from),
               wxString::FromUTF8(to));
  }
}

}  // namespace

void abstractMainFrame::WriteHtmlPage(bool toolbar, bool show) {
  // The file the run wrote, not whatever the field holds now: the field stays
  // editable while the run goes on, and the page must name its real video.
  const wxString output = !runOutputPath.empty() ? wxString::FromUTF8(runOutputPath)
                          : outputField          ? outputField->GetValue()
                                                 : wxString();

  HtmlPageContent content;
  content.outputPath = ToPageText(output);
  if (streamsGrid) {
    for (int row = 0; row < kStreamRowCount && row < streamsGrid->GetNumberRows(); ++row) {
      content.rows[row][kColumnEncode] = ToPageText(streamsGrid->GetCellValue(row, kColumnEncode));
      content.rows[row][kColumnName] = ToPageText(streamsGrid->GetCellValue(row, kColumnName));
    }
  }
  content.widestOutput = widestOutput;
  content.tallestOutput = tallestOutput;
  content.toolbar = toolbar;
  const wxString homePage = AppUtils().GetHomePageUrl();
  content.links.javaDownloadUrl = ToPageText(AppUtils().GetJavaDownloadUrl());
  content.links.homePageUrl = ToPageText(homePage);
  content.links.homePageHost = ToPageText(wxURI(homePage).GetServer());

  const std::string outputPath = ToUtf8(output);
  const std::string pagePath = HtmlPagePath(outputPath);
  std::string reason;
  if (!WriteHtmlPageFile(pagePath, BuildHtmlPageText(content), &reason)) {
    wxLogError(_("Could not create the page \"%s\": %s"), wxString::FromUTF8(pagePath),
               wxString::FromUTF8(reason));
  }

  const std::string programDir = ToUtf8(GetProgramDirectory());
  const std::string outputDir = OutputDirectory(outputPath);
  CopyBesideThePage(programDir, outputDir, kAppletArchiveFile);
  if (toolbar) CopyBesideThePage(programDir, outputDir, kToolbarImageFile);

  if (show) AppUtils().OpenInBrowser(wxString::FromUTF8(pagePath));
}
