// The main window's construction: the steps constructor, Create, CreateControls.
#include "mainFrame.h"

#include <wx/checkbox.h>
#include <wx/font.h>
#include <wx/intl.h>
#include <wx/menu.h>

wxIMPLEMENT_CLASS(mainFrame, wxFrame);

mainFrame::mainFrame() = default;

mainFrame::mainFrame(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
                     long style) {
  Create(parent, id, caption, pos, size, style);
  encodeControl.SetTempDirectory(encodeControl.GetTempDir(this));
}

mainFrame::~mainFrame() {
  // The Security menu was taken off the menu bar, so nothing else frees it.
  delete securityMenu;
}

long mainFrame::DefaultStyle() {
  return wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX | wxSUNKEN_BORDER | wxTAB_TRAVERSAL;
}

bool mainFrame::Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
                       long style) {
  encodeControl.Init();
  SetExtraStyle(wxFRAME_EX_CONTEXTHELP);
  if (!wxFrame::Create(parent, id, caption, pos, size, style, "frame")) return false;
  SetToolTip(_("Ostrel, a Harwelco solution"));
  SetFont(wxFont(8, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false, "Tahoma"));
  CreateControls();
  SetIcon(GetIconResource("../ostrelCommon/ostrel_ico.xpm"));
  Centre(wxBOTH);
  encodeControl.SetEditionTitle(this);
  return true;
}

void mainFrame::CreateControls() {
  BuildMenus();
  BuildToolbar();
  BuildStatusBar();
  BuildPanel();
  // Built with the others so that its ids stay bound, then kept off the bar:
  // the protection tools are not offered from this window.
  GetMenuBar()->Remove(2);
  if (secureCheck) secureCheck->Hide();
}
