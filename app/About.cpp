// The About box's controls, texts and picture.
#include "About.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/font.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "ProductVersion.h"
#include "_images/about.xpm"

wxIMPLEMENT_DYNAMIC_CLASS(About, wxDialog);

wxBEGIN_EVENT_TABLE(About, wxDialog)
  EVT_CLOSE(About::OnCloseWindow)
  EVT_BUTTON(ID_ABOUT_OK, About::OnOk)
wxEND_EVENT_TABLE()

wxString About::ComponentsText() {
  return "   KE:3.0.30-KEW:0.8.0-WXX2:1.0.0\nOGG:1.3.5-VORBIS:1.3.7-THEORA:1.1.1-WX:3.2.2";
}

About::About() = default;

About::About(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
             long style) {
  Create(parent, id, caption, pos, size, style);
}

bool About::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
                   long style) {
  SetExtraStyle(wxWS_EX_BLOCK_EVENTS);
  if (!wxDialog::Create(parent, id, caption, pos, size, style)) return false;
  CreateControls();
  CentreOnScreen();
  return true;
}

void About::CreateControls() {
  const wxSizerFlags centred = wxSizerFlags().Align(wxALIGN_CENTER_HORIZONTAL).Border(wxALL, 5);

  auto* outer = new wxBoxSizer(wxVERTICAL);
  SetSizer(outer);
  auto* pictureRow = new wxBoxSizer(wxHORIZONTAL);
  outer->Add(pictureRow, centred);

  picture =
      new wxStaticBitmap(this, ID_ABOUT_PICTURE, wxNullBitmap, wxDefaultPosition, wxSize(200, 147), wxBORDER_SIMPLE);
  pictureRow->Add(picture, wxSizerFlags().Border(wxALL, 5));

  auto* column = new wxBoxSizer(wxVERTICAL);
  outer->Add(column, centred);

  auto* title = new wxStaticText(this, ID_ABOUT_TITLE, wxGetTranslation(kEditionTitle));
  title->SetFont(wxFont(10, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false, "Arial"));
  column->Add(title, centred);

  versionText = new wxStaticText(this, ID_ABOUT_VERSION, wxEmptyString);
  column->Add(versionText, centred);
  buildText = new wxStaticText(this, ID_ABOUT_BUILD, wxEmptyString);
  column->Add(buildText, centred);
  dateText = new wxStaticText(this, ID_ABOUT_DATE, wxEmptyString);
  column->Add(dateText, centred);
  noticeText = new wxStaticText(this, ID_ABOUT_NOTICE, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE);
  column->Add(noticeText, centred);
  componentsText = new wxStaticText(this, ID_ABOUT_COMPONENTS, wxEmptyString);
  column->Add(componentsText, centred);
  column->Add(5, 15, centred);
  okButton = new wxButton(this, ID_ABOUT_OK, _("Ok"));
  column->Add(okButton, centred);

  versionText->SetLabel(_(kProductVersion));
  buildText->SetLabel(_(kProductBuild));
  dateText->SetLabel(_(kProductBuildDate));
  noticeText->SetLabel(_("Copyright (c) 2009 Harwelco. All rights reserved.\nOstrel is a trademark of Harwelco."));
  componentsText->SetLabel(ComponentsText());
  picture->SetBitmap(wxBitmap(about_xpm));
  Layout();
}

// Delayed destruction: the box is hidden now and deleted once the event loop
// is idle, so a handler still running on it finishes first.
void About::OnCloseWindow(wxCloseEvent&) { Destroy(); }

void About::OnOk(wxCommandEvent&) { Destroy(); }
