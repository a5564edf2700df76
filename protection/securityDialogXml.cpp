// The security file manager: saving and loading its lists as security XML.
#include "securityDialog.h"

#include "SecurityXmlReader.h"
#include "SecurityXmlWriter.h"

#include <wx/filedlg.h>
#include <wx/msgdlg.h>

#include <algorithm>

namespace {

const char* const kXmlWildcard = "XML files|*.xml|All files|*.*";

bool HasName(const std::pair<wxString, wxString>& attribute, const char* name) {
  return attribute.first.IsSameAs(name, false);
}

}  // namespace

void securityDialog::OnSaveXml(wxCommandEvent& WXUNUSED(event)) {
  if (!ValidateDates()) return;
  if (!CollectEntries()) {
    wxMessageBox(_("Before Save insert at least a documentbase and a codebase"), _("Message"), wxOK, this);
    return;
  }

  SecurityXmlContent content;
  content.hasExpireDate = m_enableExpireDate->IsChecked();
  if (content.hasExpireDate) content.expireDate = GetExpireDateText();
  content.codeBases = m_codeBaseEntries;
  content.documentBases = m_documentBaseEntries;
  content.mode = m_mode->GetValue();
  wxXml2Document document;
  if (!BuildSecurityDocument(content, document)) {
    wxMessageBox(_("File could not be correctly saved !!!"), _("Error"), wxOK | wxICON_ERROR, this);
    return;
  }

  wxFileDialog dialog(this, _("Save XML file as..."), wxEmptyString, wxEmptyString, kXmlWildcard,
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  if (SaveSecurityDocument(document, dialog.GetPath()))
    wxMessageBox(_("File correctly saved. "), _("Message"), wxOK, this);
  else wxMessageBox(_("File could not be correctly saved !!!"), _("Error"), wxOK | wxICON_ERROR, this);
}

void securityDialog::OnLoadXml(wxCommandEvent& WXUNUSED(event)) {
  wxFileDialog dialog(this, _("Load XML file as..."), wxEmptyString, wxEmptyString, kXmlWildcard, wxFD_OPEN);
  if (dialog.ShowModal() != wxID_OK) return;

  wxXml2Document document;
  wxString errorText;
  if (!document.Load(dialog.GetPath(), &errorText)) {
    wxMessageBox(wxString::Format(_("Couldn't parse the file you chose:\n%s"), errorText), _("Error"), wxOK, this);
    return;
  }
  wxMessageBox(_("File correctly load. "), _("Message"), wxOK, this);

  ClearGrids();
  SetDocumentBaseMode(ReadElements("SECTION_DOCUMENTBASE", document), m_mode);
  SetExpireDateFromText(ReadElements("license_expire_date", document));
  FillGrid(ReadElements("codebase", document), m_codeBaseGrid);
  FillGrid(ReadElements("documentbase", document), m_documentBaseGrid);

  m_generateAuthButton->Enable(true);
  m_generateSecurityButton->Enable(true);
  m_saveXmlButton->Enable(true);
}

void securityDialog::SetDocumentBaseMode(const std::vector<elementRecord>& records, wxComboBox* modeCombobox) {
  if (records.empty()) {
    wxMessageBox(_("Document base mode not found"), _("Message"), wxOK, this);
    return;
  }
  for (const elementRecord& record : records) {
    if (record.attributes.empty()) {
      modeCombobox->SetValue(_("Internal"));
      continue;
    }
    for (const auto& attribute : record.attributes) {
      if (HasName(attribute, "mode")) modeCombobox->SetValue(attribute.second);
    }
  }
}

void securityDialog::FillGrid(const std::vector<elementRecord>& records, wxGrid* grid) {
  const size_t rows = std::min(records.size(), static_cast<size_t>(kGridRows));
  for (size_t i = 0; i < rows; ++i) {
    const int row = static_cast<int>(i);
    const elementRecord& record = records[i];
    grid->SetCellValue(row, 0, record.text);
    if (record.attributes.empty()) grid->SetCellValue(row, 1, wxString());
    for (const auto& attribute : record.attributes) {
      if (HasName(attribute, "expire")) grid->SetCellValue(row, 1, attribute.second);
    }
  }
}
