// The encode control's part of publishing: the applet page beside the output,
// the applet archive and toolbar image copied next to it, and the page opened
// in the browser when asked. Everything comes from the run's plan: the grid
// and the fields stay editable while a run goes on, and the page must name
// what was encoded. Every step runs whatever the earlier ones gave; failures
// go to the toolkit's error log, never to the encode run.
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/uri.h>

#include <string>

#include "HtmlPage.h"
#include "ProgramDirectory.h"
#include "WxText.h"
#include "abstractMainFrame.h"
#include "appUtils.h"
#include "platform/kePath.h"
#include "platform/keUnnamedFile.h"

namespace {

void CopyBesideThePage(const std::string& programDir, const std::string& outputDir, const std::string& name) {
  const std::string from = kePlatform::JoinPath(programDir, name);
  const std::string to = kePlatform::JoinPath(outputDir, name);
  // With the output in the program's own folder the files are already in
  // place; copying a file onto itself is at best a failure to log.
  if (kePlatform::IsSameFile(from, to)) return;
  if (!wxCopyFile(wxString::FromUTF8(from), wxString::FromUTF8(to), true)) {
    wxLogError(_("Could not copy \"%s\" to \"%s\"."), wxString::FromUTF8(from), wxString::FromUTF8(to));
  }
}

}  // namespace

void abstractMainFrame::WriteHtmlPage(const EncodePlan& plan) {
  const wxString homePage = AppUtils().GetHomePageUrl();
  const HtmlPageLinks links{ToUtf8(AppUtils().GetJavaDownloadUrl()), ToUtf8(homePage),
                            ToUtf8(wxURI(homePage).GetServer())};
  const std::string pagePath = HtmlPagePath(plan.outputPath);
  std::string reason;
  if (!WriteHtmlPageFile(pagePath, BuildHtmlPageText(HtmlPageContentOf(plan, links)), &reason)) {
    wxLogError(_("Could not create the page \"%s\": %s"), wxString::FromUTF8(pagePath), wxString::FromUTF8(reason));
  }

  const std::string programDir = ToUtf8(GetProgramDirectory());
  const std::string outputDir = OutputDirectory(plan.outputPath);
  CopyBesideThePage(programDir, outputDir, kAppletArchiveFile);
  if (plan.page.toolbar) CopyBesideThePage(programDir, outputDir, kToolbarImageFile);

  if (plan.page.show) AppUtils().OpenInBrowser(wxString::FromUTF8(pagePath));
}
