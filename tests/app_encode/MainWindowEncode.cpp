#include "MainWindowEncode.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include "EncodeTestFrame.h"
#include "GuiTestSupport.h"
#include "ModalExpectations.h"
#include "ProgramDirectory.h"
#include "mainFrameIds.h"

void MainWindowEncode::SetUp() {
  ResetTestConfig();
  wxConfigBase::Get()->Write("/General/tmpDir", wxString::FromUTF8(temp.Path()));
  OverrideProgramDirectory(wxString::FromUTF8(programDir.Path()));
  wxTEST_DIALOG(frame = new mainFrame(nullptr, ID_MAIN_FRAME, "Ostrel", wxDefaultPosition, wxSize(900, 700),
                                      mainFrame::DefaultStyle()),
                ExpectMessage("<default_streams.xml> corrupted:\n", wxID_OK).Caption("Error").Optional());
  frame->Show();
  // The page writer has tests of its own; a test that wants the page ticks it.
  frame->htmlPageCheck->SetValue(false);
}

void MainWindowEncode::TearDown() {
  CloseFrame(frame);
  OverrideProgramDirectory(wxString());
}

void MainWindowEncode::SelectRows(const std::vector<int>& rows) {
  for (int row = 0; row < frame->streamsGrid->GetNumberRows(); ++row) frame->streamsGrid->SetCellValue(row, 0, "");
  for (int row : rows) frame->streamsGrid->SetCellValue(row, 0, "1");
}

void MainWindowEncode::TypeInput(const std::string& path) {
  frame->inputPathText->ChangeValue("");
  for (wxUniChar c : wxString::FromUTF8(path)) frame->inputPathText->AppendText(wxString(c));
}

void MainWindowEncode::ClickEncode() {
  wxCommandEvent click(wxEVT_BUTTON, ID_ENCODE_BUTTON);
  click.SetEventObject(frame->encodeButton);
  frame->encodeButton->GetEventHandler()->ProcessEvent(click);
}
