// The window's message boxes as a user meets them: text, caption, buttons,
// the preselected answer and the icon.
#include <wx/config.h>
#include <wx/grid.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "appUtils.h"

namespace {

constexpr long kQuestion = wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION;
// wxMessageBox gives an OK box the information icon.
constexpr long kNote = wxOK | wxICON_INFORMATION;

class MessageBoxesTest : public AppTest {};

TEST_F(MessageBoxesTest, EachBoxHasItsCaptionButtonsAndIcon) {
  BuildQuietFrame();
  const std::string file = programDir + "/default_streams.xml";
  struct Case {
    std::function<void()> trigger;
    const char* message;
    const char* caption;
    long style;
  };
  const std::vector<Case> cases = {
      {[&] { SendCommand(frame, wxEVT_BUTTON, ID_RESET_STREAMS); }, "Reset to factory streams settings ?", "Ostrel",
       kQuestion},
      {[&] { SendCommand(frame, wxEVT_BUTTON, ID_SAVE_DEFAULT_STREAMS); }, "Save streams settings as default ?",
       "Ostrel", kQuestion},
      {[&] { SendCommand(frame, wxEVT_BUTTON, ID_LOAD_DEFAULT_STREAMS); }, "Load deafult streams settings ?", "Ostrel",
       kQuestion},
      {[&] {
         frame->streamsGrid->ClearSelection();
         SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS);
       },
       "Select row/s", "Message", kNote},
      {[&] {
         frame->streamsGrid->SelectRow(0);
         SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS);
       },
       // The one question without a preselected No.
       "Do you really want clear the selected row/s ?", "Question", wxYES_NO | wxICON_QUESTION},
      {[&] { AppUtils().AskUpdate(frame); }, "Do you want to check if there is an update available ?",
       "Ostrel update manager", kQuestion},
      {[&] {
         wxConfigBase::Get()->DeleteEntry("/General/tmpDir");
         frame->encodeControl.GetTempDir(frame);
       },
       "Your temporary files directory is not defined. Do you want to set it? (if no you mantain default "
       "direcotry) ",
       "Ostrel temporary files direcotry manager", kQuestion},
      {[&] {
         WriteWholeFile(file, "");
         frame->LoadDefaultStreams();
       },
       "<default_streams.xml> corrupted:\n", "Error", kNote},
      {[&] {
         WriteWholeFile(file, "<other/>");
         frame->LoadDefaultStreams();
       },
       "Loaded file is not a video setting file", "Message", kNote},
      {[&] {
         std::filesystem::create_directory(file + ".partial");
         frame->SaveDefaultStreams();
         std::filesystem::remove(file + ".partial");
       },
       "Error saving <default_streams.xml>:\n", "Error", kNote},
      {[&] { AppUtils().IsIntegerField("Crop on top:", "x"); }, "Crop on top: only integer value", "Message",
       kNote | wxCENTRE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    // No is the answer to every question: nothing follows it.
    const int answer = (c.style & wxYES_NO) ? wxID_NO : wxID_OK;
    wxTEST_DIALOG(c.trigger(), ExpectMessage(c.message, answer).Caption(c.caption).Style(c.style));
  }
}

TEST_F(MessageBoxesTest, TheTemporaryDirectoryDialogReportsTheSave) {
  tmpFileRootDialog dialog(nullptr, ID_TMP_FILE_ROOT_DIALOG, "Temporary files directory", wxDefaultPosition,
                           wxSize(650, 150), wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX);
  wxTEST_DIALOG(dialog.ApplyOk(),
                ExpectMessage("temporary files directory saved", wxID_OK).Caption("Message").Style(kNote | wxCENTRE));
}

}  // namespace
