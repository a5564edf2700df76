// The security file manager: construction, controls, cell edits, validation and collection.
// The generate handlers are in securityDialogGenerate.cpp, the XML ones in securityDialogXml.cpp.
#include "securityDialog.h"

#include "SecurityDate.h"
#include "securityEditFlags.h"

#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

wxIMPLEMENT_DYNAMIC_CLASS(securityDialog, wxDialog);

wxBEGIN_EVENT_TABLE(securityDialog, wxDialog)
  EVT_BUTTON(ID_LOAD_XML, securityDialog::OnLoadXml)
  EVT_BUTTON(ID_SAVE_XML, securityDialog::OnSaveXml)
  EVT_BUTTON(ID_GENERATE_SECURITY, securityDialog::OnGenerateSecurityFile)
  EVT_BUTTON(ID_GENERATE_AUTH, securityDialog::OnGenerateAuthFile)
  EVT_DATE_CHANGED(ID_EXPIRE_DATE, securityDialog::OnExpireDateChanged)
  EVT_CHECKBOX(ID_ENABLE_EXPIRE_DATE, securityDialog::OnEnableExpireDate)
  EVT_GRID_CMD_CELL_CHANGED(ID_CODEBASE_GRID, securityDialog::OnCodebaseCellChange)
  EVT_GRID_CMD_CELL_CHANGED(ID_DOCUMENTBASE_GRID, securityDialog::OnDocumentbaseCellChange)
wxEND_EVENT_TABLE()

securityDialog::securityDialog(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                               const wxSize& size, long style) {
  Create(parent, id, caption, pos, size, style);
}

bool securityDialog::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                            const wxSize& size, long style) {
  SetExtraStyle(wxWS_EX_BLOCK_EVENTS);
  if (!wxDialog::Create(parent, id, caption, pos, size, style, "dialog")) return false;
  CreateControls();
  if (GetSizer()) GetSizer()->SetSizeHints(this);
  Centre(wxBOTH);
  return true;
}

void securityDialog::CreateControls() {
  auto* topSizer = new wxBoxSizer(wxVERTICAL);
  SetSizer(topSizer);

  topSizer->Add(new wxStaticText(this, wxID_STATIC, _("Security file manager")), 0, wxALIGN_CENTER_HORIZONTAL | wxALL,
                5);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  topSizer->Add(buttons, 0, wxALIGN_LEFT | wxALL, 5);
  buttons->Add(new wxButton(this, ID_LOAD_XML, _("Load XML")), 0, wxALL, 5);
  m_saveXmlButton = new wxButton(this, ID_SAVE_XML, _("Save XML"));
  m_saveXmlButton->Enable(false);
  buttons->Add(m_saveXmlButton, 0, wxALL, 5);
  m_generateSecurityButton = new wxButton(this, ID_GENERATE_SECURITY, _("Generate Security File"));
  m_generateSecurityButton->Enable(false);
  buttons->Add(m_generateSecurityButton, 0, wxALL, 5);
  m_generateAuthButton = new wxButton(this, ID_GENERATE_AUTH, _("Generate Only Auth File"));
  m_generateAuthButton->Enable(false);
  buttons->Add(m_generateAuthButton, 0, wxALL, 5);

  auto* notebook = new wxNotebook(this, ID_NOTEBOOK);
  topSizer->Add(notebook, 1, wxEXPAND | wxALL, 5);

  auto* general = new wxPanel(notebook, ID_GENERAL_PAGE);
  auto* generalSizer = new wxFlexGridSizer(0, 3, 0, 0);
  general->SetSizer(generalSizer);
  generalSizer->Add(new wxStaticText(general, wxID_STATIC, _("Security expire date")), 0,
                    wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  m_expireDate = new wxDatePickerCtrl(general, ID_EXPIRE_DATE, wxDateTime::Today());
  m_expireDate->Enable(false);
  generalSizer->Add(m_expireDate, 0, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  m_enableExpireDate = new wxCheckBox(general, ID_ENABLE_EXPIRE_DATE, _("Enable security expire date"));
  m_enableExpireDate->SetValue(false);
  generalSizer->Add(m_enableExpireDate, 0, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  generalSizer->Add(new wxStaticText(general, wxID_STATIC, _("Admitted external link")), 0,
                    wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  const wxString modes[] = {_("Internal"), _("External")};
  m_mode = new wxComboBox(general, ID_MODE, _("Internal"), wxDefaultPosition, wxSize(100, -1), WXSIZEOF(modes), modes,
                          wxCB_READONLY);
  m_mode->SetStringSelection(_("Internal"));
  // 100 pixels is too narrow for the desktop's button and padding: wide
  // enough for the longest choice, never narrower.
  int longest = 0;
  for (const wxString& mode : modes) longest = std::max(longest, m_mode->GetTextExtent(mode).x);
  m_mode->SetInitialSize(wxSize(std::max(100, m_mode->GetSizeFromTextSize(longest).x), -1));
  generalSizer->Add(m_mode, 0, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, 5);
  notebook->AddPage(general, _("General"));

  auto* codeBasePage = new wxPanel(notebook, ID_CODEBASE_PAGE);
  m_codeBaseGrid = CreateGrid(codeBasePage, ID_CODEBASE_GRID);
  notebook->AddPage(codeBasePage, _("Admitted delivering host"));

  auto* documentBasePage = new wxPanel(notebook, ID_DOCUMENTBASE_PAGE);
  m_documentBaseGrid = CreateGrid(documentBasePage, ID_DOCUMENTBASE_GRID);
  notebook->AddPage(documentBasePage, _("Admitted external link"));

  notebook->SetSelection(0);
}

wxGrid* securityDialog::CreateGrid(wxWindow* page, wxWindowID id) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  page->SetSizer(sizer);
  auto* grid = new wxGrid(page, id, wxDefaultPosition, wxSize(600, 300), wxHSCROLL | wxVSCROLL | wxSIMPLE_BORDER);
  grid->SetDefaultColSize(50);
  grid->SetDefaultRowSize(22);
  grid->SetColLabelSize(25);
  grid->SetRowLabelSize(18);
  grid->CreateGrid(kGridRows, 2, wxGrid::wxGridSelectCells);
  grid->SetColLabelValue(0, _("WebSite"));
  grid->SetColLabelValue(1, _("Expire Date"));
  grid->SetColSize(0, 350);
  // The labels whole in the label font: the "Expire Date" header and the
  // row numbers up to 100; never narrower than 80 and 18 pixels.
  grid->AutoSizeColLabelSize(1);
  grid->SetColSize(1, std::max(80, grid->GetColSize(1)));
  grid->SetRowLabelSize(wxGRID_AUTOSIZE);
  grid->SetRowLabelSize(std::max(18, grid->GetRowLabelSize()));
  grid->EnableDragRowSize(false);
  grid->EnableDragColSize(false);
  grid->EnableDragGridSize(false);
  sizer->Add(grid, 1, wxEXPAND | wxALL, 5);
  return grid;
}

void securityDialog::OnExpireDateChanged(wxDateEvent& event) { event.Skip(); }

void securityDialog::OnEnableExpireDate(wxCommandEvent& WXUNUSED(event)) {
  m_expireDate->Enable(m_enableExpireDate->IsChecked());
}

void securityDialog::EnableButtons(bool saveAndSecurity, bool auth) {
  if (saveAndSecurity) {
    m_generateSecurityButton->Enable(true);
    m_saveXmlButton->Enable(true);
  }
  if (auth) m_generateAuthButton->Enable(true);
}

void securityDialog::OnCodebaseCellChange(wxGridEvent& event) {
  if (securityEditFlags::documentBaseEdited) EnableButtons(true, true);
  securityEditFlags::codeBaseEdited = true;
  if (event.GetCol() == 1 && !IsValidSecurityDate(m_codeBaseGrid->GetCellValue(event.GetRow(), event.GetCol())))
    wxMessageBox(_("Invalid date codebase Date format is: dd-mm-yyyy"), _("Message"), wxOK, this);
}

void securityDialog::OnDocumentbaseCellChange(wxGridEvent& event) {
  if (securityEditFlags::codeBaseEdited) EnableButtons(true, false);
  securityEditFlags::documentBaseEdited = true;
  EnableButtons(false, true);
  if (event.GetCol() == 1 && !IsValidSecurityDate(m_documentBaseGrid->GetCellValue(event.GetRow(), event.GetCol())))
    wxMessageBox(_("Invalid date document base. Date format is: dd-mm-yyyy"), _("Message"), wxOK, this);
}

void securityDialog::CollectGrid(wxGrid* grid, int row, std::vector<securityEntry>& entries) {
  const wxString site = grid->GetCellValue(row, 0);
  if (!site.empty()) entries.push_back(securityEntry{site, grid->GetCellValue(row, 1)});
}

bool securityDialog::CollectEntries() {
  m_codeBaseEntries.clear();
  m_documentBaseEntries.clear();
  for (int row = 0; row < kGridRows; ++row) {
    CollectGrid(m_codeBaseGrid, row, m_codeBaseEntries);
    CollectGrid(m_documentBaseGrid, row, m_documentBaseEntries);
  }
  return !m_codeBaseEntries.empty() && !m_documentBaseEntries.empty();
}

bool securityDialog::CollectDocumentBaseEntries() {
  m_codeBaseEntries.clear();
  m_documentBaseEntries.clear();
  for (int row = 0; row < kGridRows; ++row) CollectGrid(m_documentBaseGrid, row, m_documentBaseEntries);
  return !m_documentBaseEntries.empty();
}

bool securityDialog::ValidateGridDates(wxGrid* grid, const wxString& message) {
  for (int row = 0; row < kGridRows; ++row) {
    const wxString date = grid->GetCellValue(row, 1);
    if (!date.empty() && !IsValidSecurityDate(date)) {
      wxMessageBox(message, _("Message"), wxOK, this);
      return false;
    }
  }
  return true;
}

bool securityDialog::ValidateCodeBaseDates() {
  return ValidateGridDates(m_codeBaseGrid, _("Invalid date  codebase. Date format is: dd-mm-yyyy"));
}

bool securityDialog::ValidateDocumentBaseDates() {
  return ValidateGridDates(m_documentBaseGrid, _("Invalid date documentbase. Date format is: dd-mm-yyyy"));
}

bool securityDialog::ValidateDates() { return ValidateCodeBaseDates() && ValidateDocumentBaseDates(); }

wxString securityDialog::GetExpireDateText() const {
  return m_expireDate->GetValue().Format("%d-%m-%Y", wxDateTime::Local);
}

void securityDialog::SetExpireDateFromText(const std::vector<elementRecord>& records) {
  if (records.empty()) {
    m_enableExpireDate->SetValue(false);
    m_expireDate->Enable(false);
    return;
  }
  for (const elementRecord& record : records) {
    m_enableExpireDate->SetValue(true);
    m_expireDate->Enable(true);
    wxDateTime date;
    if (date.ParseFormat(record.text, "%d-%m-%Y") && date.IsValid()) m_expireDate->SetValue(date);
  }
}

void securityDialog::ClearGrids() {
  for (wxGrid* grid : {m_codeBaseGrid, m_documentBaseGrid}) {
    for (int row = 0; row < kGridRows; ++row) {
      grid->SetCellValue(row, 0, wxString());
      grid->SetCellValue(row, 1, wxString());
    }
  }
}
