// The dialog behind the "Manage IIS" box: it explains why IIS 6 needs the
// output renamed to "jpg", asks for confirmation and tells the caller which
// extension is in force afterwards.
#pragma once

#include <wx/dialog.h>

#include "ProductVersion.h"

class wxButton;
class wxCheckBox;
class wxStaticText;

/// Window ids and fixed values of the dialog.
enum iisManagerId {
  ID_IIS_OK = 10000,
  ID_IIS_CHECK = 10001,
  ID_IIS_MESSAGE = 10002,
  ID_IIS_CANCEL = 10004,
  ID_IIS_MANAGER = 10085,
};

/// The extension that IIS 6 serves without being told about it.
extern const char* const kIisExtension;
// kDefaultOutputExtension, the extension when IIS is not managed, is the
// product's own (ProductVersion.h).

class iisManager : public wxDialog {
  wxDECLARE_DYNAMIC_CLASS(iisManager);
  wxDECLARE_EVENT_TABLE();

 public:
  iisManager();
  /// `manageIis` is read once, after the user's click changed it.
  iisManager(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
             long style, wxCheckBox* manageIis, const wxString& defaultExtension);

  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
              long style, wxCheckBox* manageIis, const wxString& defaultExtension);
  void CreateControls();

  /// The extension in force after the dialog: "jpg" or the default one.
  wxString GetExtension() const { return resultExtension; }
  /// Whether the IIS extension is in force after the dialog.
  bool IsChanged() const { return changed; }

  wxStaticText* GetMessage() const { return message; }

  /// The explanation shown while the dialog is built, and the two it is
  /// replaced with: for a box just ticked and for a box just cleared.
  static wxString BuildTimeText();
  static wxString TickedText();
  static wxString UntickedText();

 private:
  void OnChangeExtension(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnCheckServer(wxCommandEvent& event);
  void OnCloseWindow(wxCloseEvent& event);

  /// Ok confirms the box's new state, Cancel (and any other way out) brings
  /// back the old one.
  void Decide(bool confirmed);
  void Finish(int code);

  wxStaticText* message = nullptr;
  wxButton* okButton = nullptr;
  wxButton* cancelButton = nullptr;
  wxButton* checkButton = nullptr;
  bool tickedAtStart = false;
  bool changed = false;
  wxString defaultExtension;
  wxString resultExtension;
};
