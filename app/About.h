// The About box: edition, version, build and date, the maker's notice and the
// components' versions under a picture. Modeless; it destroys itself when
// its button or its close box is used.
#pragma once

#include <wx/dialog.h>

class wxButton;
class wxStaticBitmap;
class wxStaticText;

/// Window ids of the About box.
enum AboutId {
  ID_ABOUT_OK = 10000,
  ID_ABOUT_BUILD = 10044,
  ID_ABOUT_VERSION = 10045,
  ID_ABOUT_DATE = 10046,
  ID_ABOUT_PICTURE = 10070,
  ID_ABOUT_NOTICE = 10084,
  ID_ABOUT_COMPONENTS = 10089,
  ID_ABOUT_TITLE = 5105,
};

class About : public wxDialog {
  wxDECLARE_DYNAMIC_CLASS(About);
  wxDECLARE_EVENT_TABLE();

 public:
  About();
  About(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size, long style);

  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
              long style);
  void CreateControls();

  /// The fixed text of component codes and versions.
  static wxString ComponentsText();

  wxStaticBitmap* picture = nullptr;
  wxStaticText* versionText = nullptr;
  wxStaticText* buildText = nullptr;
  wxStaticText* dateText = nullptr;
  wxStaticText* noticeText = nullptr;
  wxStaticText* componentsText = nullptr;
  wxButton* okButton = nullptr;

 private:
  void OnCloseWindow(wxCloseEvent& event);
  void OnOk(wxCommandEvent& event);
};
