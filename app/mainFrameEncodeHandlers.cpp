// The source, output, preview and encode commands of the main window.
#include <wx/mediactrl.h>

#include "mainFrame.h"

void mainFrame::OnEncodeSelected(wxCommandEvent&) {}

void mainFrame::OnInputPathChanged(wxCommandEvent&) {}

void mainFrame::OnSelectInput(wxCommandEvent&) {}

void mainFrame::OnSelectOutput(wxCommandEvent&) {}

void mainFrame::OnMediaLoaded(wxMediaEvent&) {}

void mainFrame::OnEncode() {}

void mainFrame::SetEncodeUiRunning() {}

void mainFrame::ResetEncodeUi() {}
