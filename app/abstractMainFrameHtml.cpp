// The encode control's part of publishing: the applet page beside the output,
// the applet player's files copied next to it, and the page opened in the
// browser when asked. Everything comes from the run's plan: the grid and the
// fields stay editable while a run goes on, and the page must name what was
// encoded. What goes wrong is told in the window's own boxes, in words a
// person can act on: a page that could not be written first and on its own,
// then files that could not be copied, then the player's files missing
// beside the program, as one warning.
#include <wx/frame.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/uri.h>

#include <string>

#include "HtmlPage.h"
#include "PlayerFiles.h"
#include "ProductVersion.h"
#include "ProgramDirectory.h"
#include "WxText.h"
#include "abstractMainFrame.h"
#include "appUtils.h"
#include "platform/kePath.h"

void abstractMainFrame::WriteHtmlPage(const EncodePlan& plan) {
  const wxString homePage = AppUtils().GetHomePageUrl();
  const HtmlPageLinks links{ToUtf8(AppUtils().GetJavaDownloadUrl()), ToUtf8(homePage),
                            ToUtf8(wxURI(homePage).GetServer())};
  const std::string pagePath = HtmlPagePath(plan.outputPath);
  std::string reason;
  if (!WriteHtmlPageFile(pagePath, BuildHtmlPageText(HtmlPageContentOf(plan, links)), &reason)) {
    // The gate found the page writable, so this is rare (a full disk): with
    // no page, its files and the browser have nothing to serve.
    wxMessageBox(wxString::Format(_("The HTML page %s could not be written: %s."), wxString::FromUTF8(pagePath),
                                  wxString::FromUTF8(reason)),
                 kEditionTitle, wxOK | wxICON_ERROR, window.frame);
    return;
  }

  const std::string programDir = ToUtf8(GetProgramDirectory());
  const PlayerFilesCopy copied =
      CopyPlayerFiles(programDir, OutputDirectory(plan.outputPath), PlayerFileNames(plan.page.toolbar));
  if (!copied.failures.empty()) {
    wxString text;
    for (const std::string& failure : copied.failures) text += (text.empty() ? "" : "\n") + wxString::FromUTF8(failure);
    wxMessageBox(text, kEditionTitle, wxOK | wxICON_ERROR, window.frame);
  }
  if (!copied.missing.empty()) {
    wxMessageBox(
        wxString::FromUTF8(MissingPlayerFilesText(kePlatform::FileNameOf(pagePath), copied.missing, programDir)),
        kEditionTitle, wxOK | wxICON_WARNING, window.frame);
  }

  if (plan.page.show) AppUtils().OpenInBrowser(wxString::FromUTF8(pagePath));
}
