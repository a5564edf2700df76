// The Secret Phrase dialog.
#include "securityKeyDialog.h"

#include "StoredPhrase.h"

#include <wx/artprov.h>
#include <wx/config.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

wxIMPLEMENT_DYNAMIC_CLASS(securityKeyDialog, wxDialog);

wxBEGIN_EVENT_TABLE(securityKeyDialog, wxDialog)
  EVT_BUTTON(ID_LOAD, securityKeyDialog::OnLoadPhrase)
  EVT_BUTTON(ID_EDIT, securityKeyDialog::OnEditPhrase)
  EVT_BUTTON(ID_SAVE, securityKeyDialog::OnSavePhrase)
  EVT_BUTTON(ID_CLOSE, securityKeyDialog::OnCloseClick)
wxEND_EVENT_TABLE()

securityKeyDialog::securityKeyDialog(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                                     const wxSize& size, long style) {
  Create(parent, id, caption, pos, size, style);
}

bool securityKeyDialog::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos,
                               const wxSize& size, long style) {
  SetExtraStyle(wxWS_EX_BLOCK_EVENTS);
  if (!wxDialog::Create(parent, id, caption, pos, size, style, "dialog")) return false;
  CreateControls();
  if (GetSizer()) GetSizer()->SetSizeHints(this);
  Centre(wxBOTH);
  return true;
}

void securityKeyDialog::CreateControls() {
  auto* topSizer = new wxBoxSizer(wxVERTICAL);
  SetSizer(topSizer);

  auto* grid = new wxFlexGridSizer(3, 2, 0, 0);
  topSizer->Add(grid, 1, wxEXPAND | wxALL, 5);

  auto* warning = new wxStaticBitmap(this, wxID_STATIC, wxArtProvider::GetBitmap(wxART_WARNING, wxART_OTHER));
  grid->Add(warning, 0, wxALIGN_TOP | wxALL, 5);

  auto* explanation =
      new wxStaticText(this, wxID_STATIC,
                       _("The Ostrel Security Package is based on phrase specified in the following text area.\n\n"
                         "Every video encoded in Security Mode will use this phrase and it will be verified "
                         "against the Ostrel Security File created for a website using the same phrase.\n\n"
                         "If you lose, change or forget this phrase you have to re-create a new Ostrel Security "
                         "File and all video encoded before will not match the new Security File.\n"));
  explanation->Wrap(350);
  grid->Add(explanation, 0, wxALIGN_LEFT | wxALL, 5);

  grid->Add(new wxStaticText(this, wxID_STATIC, _("Secret Phrase")), 0, wxALIGN_RIGHT | wxALIGN_TOP | wxALL, 5);
  m_phraseText = new wxTextCtrl(this, ID_PHRASE, wxEmptyString, wxDefaultPosition, wxSize(350, 100), wxTE_MULTILINE);
  m_phraseText->Enable(false);
  grid->Add(m_phraseText, 0, wxEXPAND | wxALL, 5);

  grid->Add(5, 5, 0, wxALL, 5);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  grid->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 5);
  buttons->Add(new wxButton(this, ID_LOAD, _("Load")), 0, wxALL, 5);
  m_editButton = new wxButton(this, ID_EDIT, _("Edit"));
  buttons->Add(m_editButton, 0, wxALL, 5);
  m_saveButton = new wxButton(this, ID_SAVE, _("Save"));
  m_saveButton->Enable(false);
  buttons->Add(m_saveButton, 0, wxALL, 5);
  auto* closeButton = new wxButton(this, ID_CLOSE, _("Close"));
  closeButton->SetDefault();
  buttons->Add(closeButton, 0, wxALL, 5);
}

void securityKeyDialog::OnLoadPhrase(wxCommandEvent& WXUNUSED(event)) {
  wxConfigBase* config = wxConfigBase::Get();
  const std::string phrase = config ? ReadStoredPhrase(*config) : std::string();
  if (phrase.empty()) {
    wxMessageBox(_("Secret phrase is empty!"), _("Message"), wxOK, this);
    return;
  }
  m_phraseText->SetValue(PhraseBytesToText(phrase));
  m_phraseText->DiscardEdits();
  m_saveButton->Enable(false);
}

void securityKeyDialog::OnEditPhrase(wxCommandEvent& WXUNUSED(event)) {
  const int answer =
      wxMessageBox(_("Do you really want edit the Secret Phrase ?"), _("Question"), wxYES_NO | wxICON_QUESTION, this);
  if (answer != wxYES) {
    m_saveButton->Enable(false);
    return;
  }
  m_phraseText->Enable(true);
  m_phraseText->SetEditable(true);
  m_phraseText->SetFocus();
  m_phraseText->Clear();
  // Only typing counts as a change: some toolkits report clearing a filled text as an edit.
  m_phraseText->DiscardEdits();
  m_saveButton->Enable(true);
  m_editButton->Enable(false);
}

void securityKeyDialog::OnSavePhrase(wxCommandEvent& WXUNUSED(event)) {
  if (!m_phraseText->IsModified()) {
    wxMessageBox(_("Before Save modify the key"), _("Message"), wxOK, this);
    return;
  }
  // Refused before the question: the phrase stays open for another try.
  const std::optional<std::string> phrase = PhraseTextToBytes(m_phraseText->GetValue());
  if (!phrase) {
    wxMessageBox(_("The Secret Phrase holds a character that cannot be stored: only the "
                   "characters of ISO-8859-1 (Western European letters) can be used."),
                 _("Message"), wxOK, this);
    return;
  }
  const int answer =
      wxMessageBox(_("Do you really want save the Secret Phrase ?"), _("Question"), wxYES_NO | wxICON_QUESTION, this);
  if (answer != wxYES) return;

  wxConfigBase* config = wxConfigBase::Get();
  if (!config) {
    // Nothing was stored, so the phrase stays open for another try.
    wxMessageBox(_("Unable to save phrase!!"), _("Message"), wxOK, this);
    return;
  }
  const bool saved = WriteStoredPhrase(*config, *phrase);
  wxMessageBox(saved ? _("Phrase has been saved") : _("Unable to save phrase!!"), _("Message"), wxOK, this);
  m_phraseText->SetEditable(false);
  m_phraseText->Enable(false);
  m_saveButton->Enable(false);
}

void securityKeyDialog::OnCloseClick(wxCommandEvent& WXUNUSED(event)) { EndModal(ID_CLOSE); }
