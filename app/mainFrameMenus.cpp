// The main window's menu bar, toolbar and status bar.
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "mainFrame.h"

void mainFrame::BuildMenus() {
  auto* menuBar = new wxMenuBar;

  auto* fileMenu = new wxMenu;
  fileMenu->Append(ID_MENU_SELECT_INPUT, _("Select input"), wxEmptyString, wxITEM_NORMAL);
  fileMenu->Append(ID_MENU_SELECT_OUTPUT, _("Select output"), wxEmptyString, wxITEM_NORMAL);
  fileMenu->AppendSeparator();
  fileMenu->Append(ID_MENU_EXIT, _("Exit"), wxEmptyString, wxITEM_NORMAL);
  menuBar->Append(fileMenu, _("File"));

  auto* encodeMenu = new wxMenu;
  encodeMenu->Append(ID_MENU_LOAD_SETTINGS, _("Load settings"), wxEmptyString, wxITEM_NORMAL);
  encodeMenu->Append(ID_MENU_SAVE_SETTINGS, _("Save settings"), wxEmptyString, wxITEM_NORMAL);
  encodeMenu->AppendSeparator();
  encodeMenu->Append(ID_ENCODE, _("Encode"), wxEmptyString, wxITEM_NORMAL);
  menuBar->Append(encodeMenu, _("Encode"));

  securityMenu = new wxMenu;
  securityMenu->Append(ID_MENU_SECRET_PHRASE, _("Security Phrase"), wxEmptyString, wxITEM_NORMAL);
  securityMenu->Append(ID_MENU_SECURITY_MANAGER, _("Security File Manager"), wxEmptyString, wxITEM_NORMAL);
  menuBar->Append(securityMenu, _("Security"));

  optionsMenu = new wxMenu;
  optionsMenu->Append(ID_MENU_TEMP_DIR, _("Select path for temporary files"),
                      _("Select directory where storage temporary files"), wxITEM_NORMAL);
  menuBar->Append(optionsMenu, _("Options"));

  auto* helpMenu = new wxMenu;
  helpMenu->Append(ID_MENU_ONLINE_HELP, _("OnLine help"), wxEmptyString, wxITEM_NORMAL);
  helpMenu->Append(ID_MENU_CHECK_UPDATES, _("Check for Updates"), wxEmptyString, wxITEM_NORMAL);
  helpMenu->Append(ID_MENU_WEBSITE, _("Visit Harwelco website"), wxEmptyString, wxITEM_NORMAL);
  helpMenu->AppendSeparator();
  helpMenu->Append(ID_MENU_ABOUT, _("About"), wxEmptyString, wxITEM_NORMAL);
  menuBar->Append(helpMenu, _("Help"));

  SetMenuBar(menuBar);
}

void mainFrame::BuildToolbar() {
  wxToolBar* toolbar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL, ID_TOOLBAR, "toolbar");
  const auto addTool = [&](int id, const char* image, const wxString& tooltip) {
    toolbar->AddTool(id, wxEmptyString, GetBitmapResource(image), wxNullBitmap, wxITEM_NORMAL, tooltip, wxEmptyString);
  };
  addTool(ID_TOOL_LOAD_SETTINGS, "_images/open.xpm", _("Load settings"));
  addTool(ID_TOOL_SAVE_SETTINGS, "_images/save.xpm", _("Save settings"));
  toolbar->AddSeparator();
  addTool(ID_ENCODE, "_images/exefile.xpm", _("Encode !"));
  toolbar->AddSeparator();
  addTool(ID_TOOL_CHECK_UPDATES, "../ostrelCommon/find.xpm", _("Check for Updates"));
  addTool(ID_TOOL_ONLINE_HELP, "_images/help.xpm", _("OnLine Help"));
  toolbar->Realize();
  SetToolBar(toolbar);
}

void mainFrame::BuildStatusBar() {
  statusBar = new wxStatusBar(this, ID_STATUS_BAR, wxNO_BORDER, "statusBar");
  statusBar->SetFieldsCount(3);
  statusBar->SetStatusText(_("Ostrel Streaming Solution"), 0);
  SetStatusBar(statusBar);
}
