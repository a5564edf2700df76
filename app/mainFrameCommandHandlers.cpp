// The settings, time-range, HTML-page, IIS, About and protection commands of
// the main window.
#include "mainFrame.h"

void mainFrame::OnLoadSettingsSelected(wxCommandEvent&) {}

void mainFrame::OnSaveSettingsSelected(wxCommandEvent&) {}

void mainFrame::OnSetStartTime(wxCommandEvent&) {}

void mainFrame::OnSetEndTime(wxCommandEvent&) {}

void mainFrame::OnGenerateHtmlPage(wxCommandEvent&) {}

void mainFrame::OnAboutSelected(wxCommandEvent&) {}

void mainFrame::OnManageIis(wxCommandEvent&) {}

void mainFrame::OnSecretPhraseSelected(wxCommandEvent&) {}

void mainFrame::OnSecurityManagerSelected(wxCommandEvent&) {}

void mainFrame::LoadSettings() {}

void mainFrame::SaveSettings() {}

void mainFrame::ShowSecretPhraseDialog() {}

void mainFrame::ShowSecurityFileManager() {}
