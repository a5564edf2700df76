// The security file manager: the admitted code bases and document bases of one web site with
// their expiry dates, the global expiry date and the document base mode; saved and loaded as
// security XML, and written as the security file and the auth file that the player reads.
#pragma once

#include "SecurityXmlReader.h"
#include "securityEntry.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/dialog.h>
#include <wx/grid.h>
#include <wx/notebook.h>

#include <vector>

class DocumentBaseList;
class LineList;

#define SYMBOL_SECURITYDIALOG_STYLE wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX
#define SYMBOL_SECURITYDIALOG_TITLE _("securityDialog")
#define SYMBOL_SECURITYDIALOG_IDNAME 10002
#define SYMBOL_SECURITYDIALOG_SIZE wxSize(400, 300)
#define SYMBOL_SECURITYDIALOG_POSITION wxDefaultPosition

class securityDialog : public wxDialog {
  wxDECLARE_DYNAMIC_CLASS(securityDialog);
  wxDECLARE_EVENT_TABLE();

 public:
  enum {
    ID_CODEBASE_PAGE = 10000,
    ID_NOTEBOOK = 10001,
    ID_LOAD_XML = 10003,
    ID_SAVE_XML = 10004,
    ID_CODEBASE_GRID = 10005,
    ID_DOCUMENTBASE_PAGE = 10006,
    ID_DOCUMENTBASE_GRID = 10007,
    ID_GENERAL_PAGE = 10008,
    ID_EXPIRE_DATE = 10009,
    ID_MODE = 10010,
    ID_GENERATE_SECURITY = 10011,
    ID_ENABLE_EXPIRE_DATE = 10012,
    ID_GENERATE_AUTH = 10013
  };

  /// Only rows 0 to 99 exist in either grid.
  static constexpr int kGridRows = 100;

  /// Leaves creation to a later Create.
  securityDialog() = default;
  securityDialog(wxWindow* parent, wxWindowID id = SYMBOL_SECURITYDIALOG_IDNAME,
                 const wxString& caption = SYMBOL_SECURITYDIALOG_TITLE,
                 const wxPoint& pos = SYMBOL_SECURITYDIALOG_POSITION, const wxSize& size = SYMBOL_SECURITYDIALOG_SIZE,
                 long style = SYMBOL_SECURITYDIALOG_STYLE);

  bool Create(wxWindow* parent, wxWindowID id = SYMBOL_SECURITYDIALOG_IDNAME,
              const wxString& caption = SYMBOL_SECURITYDIALOG_TITLE,
              const wxPoint& pos = SYMBOL_SECURITYDIALOG_POSITION, const wxSize& size = SYMBOL_SECURITYDIALOG_SIZE,
              long style = SYMBOL_SECURITYDIALOG_STYLE);

  void CreateControls();

  // Handlers.
  void OnLoadXml(wxCommandEvent& event);
  void OnSaveXml(wxCommandEvent& event);
  void OnGenerateSecurityFile(wxCommandEvent& event);
  void OnGenerateAuthFile(wxCommandEvent& event);
  void OnExpireDateChanged(wxDateEvent& event);
  void OnEnableExpireDate(wxCommandEvent& event);
  void OnCodebaseCellChange(wxGridEvent& event);
  void OnDocumentbaseCellChange(wxGridEvent& event);

  /// Refills both entry lists from the grids (rows with a "WebSite"); true when neither
  /// list is empty.
  bool CollectEntries();
  /// Empties both lists and refills the document base list alone; true when it is not empty.
  bool CollectDocumentBaseEntries();
  /// Each reports the first date of its grid that breaks the date rule (empty dates pass;
  /// rows without a site count) and returns false at once.
  bool ValidateCodeBaseDates();
  bool ValidateDocumentBaseDates();
  /// The code base grid first, then the document base grid.
  bool ValidateDates();

  /// The date control's date as "%d-%m-%Y" (05-03-2010).
  wxString GetExpireDateText() const;
  /// No record: the global date is switched off. Otherwise each record switches it on and
  /// sets the date from its text when the text parses, so the last record decides.
  void SetExpireDateFromText(const std::vector<elementRecord>& records);
  /// Empties both cells of every row of both grids.
  void ClearGrids();
  /// Sets the mode from the records' "mode" attributes (a record without attributes means
  /// "Internal"); no record is reported and leaves the mode.
  void SetDocumentBaseMode(const std::vector<elementRecord>& records, wxComboBox* modeCombobox);
  /// Row i gets record i's text and its "expire" attribute; rows past the last are dropped.
  void FillGrid(const std::vector<elementRecord>& records, wxGrid* grid);

  const std::vector<securityEntry>& GetCodeBaseEntries() const { return m_codeBaseEntries; }
  const std::vector<securityEntry>& GetDocumentBaseEntries() const { return m_documentBaseEntries; }

 private:
  static void CollectGrid(wxGrid* grid, int row, std::vector<securityEntry>& entries);
  bool ValidateGridDates(wxGrid* grid, const wxString& message);
  /// Reports the first site of the grid whose entry line would be longer than the player
  /// reads, or would hold a line break, naming its row; false then.
  bool CheckEntryLines(wxGrid* grid, const wxString& gridName);
  void FillDocumentBaseList(DocumentBaseList& list) const;
  /// The path the user picks in a save dialog; empty when cancelled.
  wxString AskSavePath(const wxString& message, const wxString& wildcard);
  /// Writes the lines; a failure is told to the user. False on failure.
  bool WriteLines(const wxString& path, const LineList& lines);
  void EnableButtons(bool saveAndSecurity, bool auth);
  wxGrid* CreateGrid(wxWindow* page, wxWindowID id);

  wxButton* m_saveXmlButton = nullptr;
  wxButton* m_generateSecurityButton = nullptr;
  wxButton* m_generateAuthButton = nullptr;
  wxDatePickerCtrl* m_expireDate = nullptr;
  wxCheckBox* m_enableExpireDate = nullptr;
  wxComboBox* m_mode = nullptr;
  wxGrid* m_codeBaseGrid = nullptr;
  wxGrid* m_documentBaseGrid = nullptr;

  std::vector<securityEntry> m_codeBaseEntries;
  std::vector<securityEntry> m_documentBaseEntries;
};
