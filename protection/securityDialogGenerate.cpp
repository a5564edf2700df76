// The security file manager: writing the security file and the auth file.
#include "securityDialog.h"

#include "DocumentBaseList.h"
#include "EntryLine.h"
#include "LineList.h"
#include "Md5Digest.h"
#include "SaveLines.h"
#include "SecurityDate.h"
#include "SecurityFile.h"
#include "StoredPhrase.h"
#include "Latin1Text.h"

#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>

namespace {

const char* const kTextWildcard = "TXT files|*.txt|All files|*.*";

/// The site as the files hold it. CheckEntryLines has refused every site that ISO-8859-1
/// cannot hold before anything is built.
std::string SiteBytes(const securityEntry& entry) { return ToLatin1(entry.site).value_or(std::string()); }

/// The entry line the writer makes of the entry.
std::string EntryLineOf(const securityEntry& entry) {
  if (entry.expireDate.empty()) return EntryLine(SiteBytes(entry));
  const SecurityDate date = ParseDate(entry.expireDate);
  return EntryLine(SiteBytes(entry), date.day, date.month, date.year);
}

}  // namespace

bool securityDialog::CheckEntryLines(wxGrid* grid, const wxString& gridName) {
  for (int row = 0; row < kGridRows; ++row) {
    const securityEntry entry{grid->GetCellValue(row, 0), grid->GetCellValue(row, 1)};
    if (entry.site.empty()) continue;
    // Row numbers in the messages are as the grid labels them. A site loaded from a
    // hand-written XML file may span lines ("<codebase>\n host\n"); written as it is, it
    // would split its entry line, and the player would read other sites.
    if (entry.site.find_first_of("\r\n") != wxString::npos) {
      wxMessageBox(wxString::Format(_("The %s in row %d holds a line break: a site must "
                                      "stand on one line."),
                                    gridName, row + 1),
                   _("Message"), wxOK, this);
      return false;
    }
    // The player compares the sites and the match key byte for byte in ISO-8859-1.
    if (!ToLatin1(entry.site)) {
      wxMessageBox(wxString::Format(_("The %s in row %d holds a character that cannot be "
                                      "written: only the characters of ISO-8859-1 "
                                      "(Western European letters) can be used."),
                                    gridName, row + 1),
                   _("Message"), wxOK, this);
      return false;
    }
    if (EntryLineFits(EntryLineOf(entry))) continue;
    wxMessageBox(wxString::Format(_("The %s in row %d is too long: a site with its expire "
                                    "date may hold at most %d characters."),
                                  gridName, row + 1, static_cast<int>(kMaxEntryLineLength)),
                 _("Message"), wxOK, this);
    return false;
  }
  return true;
}

void securityDialog::FillDocumentBaseList(DocumentBaseList& list) const {
  for (const securityEntry& entry : m_documentBaseEntries) {
    if (entry.expireDate.empty()) {
      list.Add(SiteBytes(entry));
    } else {
      const SecurityDate date = ParseDate(entry.expireDate);
      list.AddWithExpiry(SiteBytes(entry), date.day, date.month, date.year);
    }
  }
}

wxString securityDialog::AskSavePath(const wxString& message, const wxString& wildcard) {
  wxFileDialog dialog(this, message, wxEmptyString, wxEmptyString, wildcard, wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return wxString();
  return dialog.GetPath();
}

bool securityDialog::WriteLines(const wxString& path, const LineList& lines) {
  if (SaveLines(kLinesToFile, path, lines)) return true;
  wxMessageBox(_("File could not be correctly saved !!!"), _("Error"), wxOK | wxICON_ERROR, this);
  return false;
}

void securityDialog::OnGenerateSecurityFile(wxCommandEvent& WXUNUSED(event)) {
  if (!ValidateDates()) return;
  if (!CollectEntries()) {
    wxMessageBox(_("Before Save insert at least a documentbase and a codebase"), _("Message"), wxOK, this);
    return;
  }
  // The player reads entry lines one by one into a fixed buffer: a longer one, or a site
  // that would break its line, is refused here, before anything is built or written.
  if (!CheckEntryLines(m_codeBaseGrid, _("codebase")) || !CheckEntryLines(m_documentBaseGrid, _("documentbase")))
    return;

  SecurityFile securityFile;
  if (m_enableExpireDate->IsChecked()) {
    const SecurityDate date = ParseDate(GetExpireDateText());
    securityFile.SetExpireDate(date.day, date.month, date.year);
  }
  for (const securityEntry& entry : m_codeBaseEntries) {
    if (entry.expireDate.empty()) {
      securityFile.AddCodeBase(SiteBytes(entry));
    } else {
      const SecurityDate date = ParseDate(entry.expireDate);
      securityFile.AddCodeBaseWithExpiry(SiteBytes(entry), date.day, date.month, date.year);
    }
  }
  DocumentBaseList documentBases;
  FillDocumentBaseList(documentBases);
  const wxString mode = m_mode->GetValue();
  if (mode.IsSameAs(_("Internal"), false)) securityFile.SetDocumentBaseList(&documentBases);

  Md5Digest digest;
  if (const wxConfigBase* config = wxConfigBase::Get()) digest.Update(ReadStoredPhrase(*config));
  if (!digest.IsOk()) {
    // A file with a key of zeros would be refused by every player.
    wxMessageBox(_("The security file could not be sealed: MD5 is not available."), _("Error"), wxOK | wxICON_ERROR,
                 this);
    return;
  }
  LineList lines;
  securityFile.Build(digest, lines);

  const wxString securityPath = AskSavePath(_("Save SECURITY file as..."), kTextWildcard);
  if (securityPath.empty()) return;
  // A security file that could not be written is told; the auth file is
  // asked for all the same, as it stands on its own.
  WriteLines(securityPath, lines);

  if (mode.IsSameAs(_("External"), false)) {
    const wxString authPath = AskSavePath(_("Save AUTH file as..."), kTextWildcard);
    if (authPath.empty()) return;
    LineList authLines;
    documentBases.WriteSection(authLines);
    WriteLines(authPath, authLines);
  }
}

void securityDialog::OnGenerateAuthFile(wxCommandEvent& WXUNUSED(event)) {
  if (!ValidateDocumentBaseDates()) return;
  if (!CollectDocumentBaseEntries()) {
    wxMessageBox(_("Before Save insert at least a documentbase"), _("Message"), wxOK, this);
    return;
  }
  if (!CheckEntryLines(m_documentBaseGrid, _("documentbase"))) return;

  DocumentBaseList documentBases;
  FillDocumentBaseList(documentBases);
  const wxString authPath = AskSavePath(_("Save AUTH file as..."), kTextWildcard);
  if (authPath.empty()) return;
  LineList authLines;
  documentBases.WriteSection(authLines);
  WriteLines(authPath, authLines);
}
