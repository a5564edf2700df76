// The Secret Phrase dialog: shows, edits and saves the phrase that seals every security file
// of a web site.
#pragma once

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#define SYMBOL_SECURITYKEYDIALOG_STYLE wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX
#define SYMBOL_SECURITYKEYDIALOG_TITLE _("Secret Phrase")
#define SYMBOL_SECURITYKEYDIALOG_IDNAME 10000
#define SYMBOL_SECURITYKEYDIALOG_SIZE wxSize(400, 300)
#define SYMBOL_SECURITYKEYDIALOG_POSITION wxDefaultPosition

class securityKeyDialog : public wxDialog {
  wxDECLARE_DYNAMIC_CLASS(securityKeyDialog);
  wxDECLARE_EVENT_TABLE();

 public:
  enum { ID_LOAD = 10001, ID_PHRASE = 10002, ID_SAVE = 10003, ID_CLOSE = 10004, ID_EDIT = 10005 };

  /// Leaves creation to a later Create.
  securityKeyDialog() = default;
  securityKeyDialog(wxWindow* parent, wxWindowID id = SYMBOL_SECURITYKEYDIALOG_IDNAME,
                    const wxString& caption = SYMBOL_SECURITYKEYDIALOG_TITLE,
                    const wxPoint& pos = SYMBOL_SECURITYKEYDIALOG_POSITION,
                    const wxSize& size = SYMBOL_SECURITYKEYDIALOG_SIZE, long style = SYMBOL_SECURITYKEYDIALOG_STYLE);

  bool Create(wxWindow* parent, wxWindowID id = SYMBOL_SECURITYKEYDIALOG_IDNAME,
              const wxString& caption = SYMBOL_SECURITYKEYDIALOG_TITLE,
              const wxPoint& pos = SYMBOL_SECURITYKEYDIALOG_POSITION,
              const wxSize& size = SYMBOL_SECURITYKEYDIALOG_SIZE, long style = SYMBOL_SECURITYKEYDIALOG_STYLE);

  void CreateControls();

  /// Shows the stored phrase, or says that none is stored.
  void OnLoadPhrase(wxCommandEvent& event);
  /// After a confirmation, empties the text for a new phrase.
  void OnEditPhrase(wxCommandEvent& event);
  /// After a confirmation, stores the typed phrase and locks the text.
  void OnSavePhrase(wxCommandEvent& event);
  /// Ends the modal dialog with the code 10004; nothing is saved.
  void OnCloseClick(wxCommandEvent& event);

 private:
  wxTextCtrl* m_phraseText = nullptr;
  wxButton* m_editButton = nullptr;
  wxButton* m_saveButton = nullptr;
};
