// The main window's event table: every menu item, tool, button, check box,
// the input field, the grid, the preview and the close request, in the order
// the first match should win.
#include <wx/grid.h>
#include <wx/mediactrl.h>
#include <wx/textctrl.h>
#include <wx/checkbox.h>
#include <wx/button.h>
#include <wx/menu.h>

#include "mainFrame.h"

wxBEGIN_EVENT_TABLE(mainFrame, wxFrame)
  EVT_CLOSE(mainFrame::OnCloseWindow)
  EVT_MENU(ID_TOOL_LOAD_SETTINGS, mainFrame::OnLoadSettingsSelected)
  EVT_MENU(ID_TOOL_SAVE_SETTINGS, mainFrame::OnSaveSettingsSelected)
  EVT_MENU(ID_ENCODE, mainFrame::OnEncodeSelected)
  EVT_MENU(ID_TOOL_CHECK_UPDATES, mainFrame::OnCheckUpdatesSelected)
  EVT_MENU(ID_TOOL_ONLINE_HELP, mainFrame::OnOnlineHelpTool)
  EVT_MENU(ID_MENU_SELECT_INPUT, mainFrame::OnSelectInput)
  EVT_MENU(ID_MENU_SELECT_OUTPUT, mainFrame::OnSelectOutput)
  EVT_MENU(ID_MENU_EXIT, mainFrame::OnExitSelected)
  EVT_MENU(ID_MENU_LOAD_SETTINGS, mainFrame::OnLoadSettingsSelected)
  EVT_MENU(ID_MENU_SAVE_SETTINGS, mainFrame::OnSaveSettingsSelected)
  EVT_MENU(ID_ENCODE, mainFrame::OnEncodeSelected)
  EVT_MENU(ID_MENU_SECRET_PHRASE, mainFrame::OnSecretPhraseSelected)
  EVT_MENU(ID_MENU_SECURITY_MANAGER, mainFrame::OnSecurityManagerSelected)
  EVT_MENU(ID_MENU_TEMP_DIR, mainFrame::OnTempDirSelected)
  EVT_MENU(ID_MENU_ONLINE_HELP, mainFrame::OnOnlineHelpSelected)
  EVT_MENU(ID_MENU_CHECK_UPDATES, mainFrame::OnCheckUpdatesSelected)
  EVT_MENU(ID_MENU_WEBSITE, mainFrame::OnVisitWebsiteSelected)
  EVT_MENU(ID_MENU_ABOUT, mainFrame::OnAboutSelected)
  EVT_TEXT(ID_INPUT_PATH, mainFrame::OnInputPathChanged)
  EVT_BUTTON(ID_INPUT_BROWSE, mainFrame::OnSelectInput)
  EVT_BUTTON(ID_OUTPUT_BROWSE, mainFrame::OnSelectOutput)
  EVT_BUTTON(ID_SET_START, mainFrame::OnSetStartTime)
  EVT_BUTTON(ID_SET_END, mainFrame::OnSetEndTime)
  EVT_BUTTON(ID_CLEAR_ROWS, mainFrame::OnClearRows)
  EVT_BUTTON(ID_SAVE_DEFAULT_STREAMS, mainFrame::OnSaveDefaultStreams)
  EVT_BUTTON(ID_LOAD_DEFAULT_STREAMS, mainFrame::OnLoadDefaultStreams)
  EVT_BUTTON(ID_RESET_STREAMS, mainFrame::OnResetStreams)
  EVT_CHECKBOX(ID_ASPECT_RATIO, mainFrame::OnMaintainAspectRatio)
  EVT_CHECKBOX(ID_SOURCE_DIMENSION, mainFrame::OnMaintainSourceDimension)
  EVT_CHECKBOX(ID_MANAGE_IIS, mainFrame::OnManageIis)
  EVT_CHECKBOX(ID_HTML_PAGE, mainFrame::OnGenerateHtmlPage)
  EVT_CHECKBOX(ID_SHOW_VIDEO, mainFrame::OnSkipEvent)
  EVT_CHECKBOX(ID_GRAPHIC_TOOLBAR, mainFrame::OnSkipEvent)
  EVT_BUTTON(ID_ENCODE_BUTTON, mainFrame::OnEncodeSelected)
  EVT_GRID_CELL_CHANGED(mainFrame::OnGridCellChange)
  EVT_MEDIA_LOADED(ID_MEDIA_CTRL, mainFrame::OnMediaLoaded)
wxEND_EVENT_TABLE()
