// The main window's event table, entry by entry: each entry's event is sent
// as a click, a key or the toolkit would send it, and the effect its handler
// must have is checked, so that a handler bound to the wrong id fails its row.
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/filedlg.h>
#include <wx/grid.h>
#include <wx/mediactrl.h>
#include <wx/textctrl.h>

#include "About.h"
#include "GuiTestSupport.h"
#include "AppTestSupport.h"
#include "StreamProfileRows.h"
#include "appUtils.h"
#include "iisManagerExpectation.h"
#include "securityDialog.h"
#include "securityKeyDialog.h"

namespace {

// Reaches the frame's static table, which the toolkit keeps protected.
class TablePeek : public mainFrame {
 public:
  static size_t EntryCount() {
    size_t count = 0;
    while (sm_eventTable.entries[count].m_fn) ++count;
    return count;
  }
};

using Sender = std::function<void()>;

/// What a row's event must do: the state it acts on, how it is sent (the
/// dialogs it opens answered), and what it leaves behind.
struct Effect {
  std::function<void(mainFrame&)> before;
  std::function<void(const Sender&)> send;
  std::function<void(mainFrame&, const RecordingLauncher&)> after;
};

struct Row {
  const char* handler;  ///< as the table names it
  wxEventType type;
  int id;
  Effect effect;
};

/// Opens a dialog, which the expectation answers; nothing else is shown.
template <class Expectation>
Effect Opens(Expectation expectation, std::function<void(mainFrame&)> before = {},
             std::function<void(mainFrame&)> after = {}) {
  return {std::move(before), [expectation](const Sender& send) { wxTEST_DIALOG(send(), expectation); },
          [after](mainFrame& f, const RecordingLauncher&) {
            if (after) after(f);
          }};
}

/// Asks the question, which is answered No.
Effect Asks(const char* question) { return Opens(ExpectMessage(question, wxNO)); }

/// Changes the window without a dialog.
Effect Changes(std::function<void(mainFrame&)> before, std::function<void(mainFrame&)> after) {
  return {std::move(before), [](const Sender& send) { EXPECT_NO_DIALOG(send()); },
          [after](mainFrame& f, const RecordingLauncher&) { after(f); }};
}

/// Hands the address to the browser, and shows nothing.
Effect Browses(wxString (appUtils::*address)() const) {
  return {{},
          [](const Sender& send) { EXPECT_NO_DIALOG(send()); },
          [address](mainFrame&, const RecordingLauncher& launcher) {
            EXPECT_EQ(launcher.addresses, std::vector<std::string>{(AppUtils().*address)().utf8_string()});
          }};
}

Effect ClosesTheWindow() {
  return Changes({}, [](mainFrame& f) { EXPECT_TRUE(IsDestroyed(&f)); });
}

Effect LoadsTheSettings() {
  return Changes([](mainFrame&) { wxConfigBase::Get()->Write("/Controls/videoStart", "7"); },
                 [](mainFrame& f) { EXPECT_EQ(f.startTimeText->GetValue(), "7"); });
}

Effect SetsFromThePreview(wxTextCtrl* mainFrame::*field) {
  return Changes([field](mainFrame& f) { (f.*field)->ChangeValue("12"); },
                 [field](mainFrame& f) { EXPECT_EQ((f.*field)->GetValue(), "0"); });
}

/// The two boxes read only when a page is written: their handler lets the
/// click go on and changes nothing.
Effect OnlyTicks(wxCheckBox* mainFrame::*box) {
  return Changes([box](mainFrame& f) { (f.*box)->SetValue(true); },
                 [box](mainFrame& f) {
                   EXPECT_TRUE((f.*box)->GetValue());
                   EXPECT_TRUE((f.*box)->IsEnabled());
                   EXPECT_TRUE(f.htmlPageCheck->GetValue());
                 });
}

size_t OpenAboutBoxes() {
  size_t count = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (wxDynamicCast(window, About) && !IsDestroyed(window)) ++count;
  }
  return count;
}

const char* const kStartEncoding = "Start encoding ?";
const char* const kUpdateQuestion = "Do you want to check if there is an update available ?";

std::vector<Row> Rows(const std::string& notMedia) {
  const auto chosenSource = [](mainFrame& f) {
    EXPECT_EQ(f.inputPathText->GetValue(), "/v/in.mp4");
    EXPECT_EQ(f.outputPathText->GetValue(), "/v/in.osq");
  };
  const auto chosenOutput = [](mainFrame& f) {
    EXPECT_EQ(f.inputPathText->GetValue(), "");
    EXPECT_EQ(f.outputPathText->GetValue(), "/v/out.osq");
  };
  return {
      {"OnCloseWindow", wxEVT_CLOSE_WINDOW, wxID_ANY, ClosesTheWindow()},
      {"OnLoadSettingsSelected", wxEVT_MENU, ID_TOOL_LOAD_SETTINGS, LoadsTheSettings()},
      {"OnSaveSettingsSelected", wxEVT_MENU, ID_TOOL_SAVE_SETTINGS, Asks("Save current settings ?")},
      {"OnEncodeSelected", wxEVT_MENU, ID_ENCODE, Asks(kStartEncoding)},
      {"OnCheckUpdatesSelected", wxEVT_MENU, ID_TOOL_CHECK_UPDATES, Asks(kUpdateQuestion)},
      {"OnOnlineHelpTool", wxEVT_MENU, ID_TOOL_ONLINE_HELP, Browses(&appUtils::GetSupportUrl)},
      {"OnSelectInput", wxEVT_MENU, ID_MENU_SELECT_INPUT,
       Opens(wxExpectModal<wxFileDialog>("/v/in.mp4"), {}, chosenSource)},
      {"OnSelectOutput", wxEVT_MENU, ID_MENU_SELECT_OUTPUT,
       Opens(wxExpectModal<wxFileDialog>("/v/out.osq"), {}, chosenOutput)},
      {"OnExitSelected", wxEVT_MENU, ID_MENU_EXIT, ClosesTheWindow()},
      {"OnLoadSettingsSelected", wxEVT_MENU, ID_MENU_LOAD_SETTINGS, LoadsTheSettings()},
      {"OnSaveSettingsSelected", wxEVT_MENU, ID_MENU_SAVE_SETTINGS, Asks("Save current settings ?")},
      // The menu item and the tool share the id: the first entry takes both.
      {"OnEncodeSelected", wxEVT_MENU, ID_ENCODE, Asks(kStartEncoding)},
      {"OnSecretPhraseSelected", wxEVT_MENU, ID_MENU_SECRET_PHRASE,
       Opens(wxExpectDismissableModal<securityKeyDialog>(wxID_CANCEL))},
      {"OnSecurityManagerSelected", wxEVT_MENU, ID_MENU_SECURITY_MANAGER,
       Opens(wxExpectDismissableModal<securityDialog>(wxID_CANCEL))},
      {"OnTempDirSelected", wxEVT_MENU, ID_MENU_TEMP_DIR,
       Opens(wxExpectModal<tmpFileRootDialog>(nullptr, ID_TMP_DIR_CANCEL))},
      {"OnOnlineHelpSelected", wxEVT_MENU, ID_MENU_ONLINE_HELP, Browses(&appUtils::GetSupportUrl)},
      {"OnCheckUpdatesSelected", wxEVT_MENU, ID_MENU_CHECK_UPDATES, Asks(kUpdateQuestion)},
      {"OnVisitWebsiteSelected", wxEVT_MENU, ID_MENU_WEBSITE, Browses(&appUtils::GetHomePageUrl)},
      {"OnAboutSelected", wxEVT_MENU, ID_MENU_ABOUT, Changes({}, [](mainFrame&) { EXPECT_EQ(OpenAboutBoxes(), 1u); })},
      {"OnInputPathChanged", wxEVT_TEXT, ID_INPUT_PATH,
       Opens(
           ExpectMessage("Unable to find any audio/video codec.", wxID_OK).Prefix(),
           [notMedia](mainFrame& f) { f.inputPathText->ChangeValue(wxString::FromUTF8(notMedia)); },
           [](mainFrame& f) { EXPECT_FALSE(f.encodeButton->IsEnabled()); })},
      {"OnSelectInput", wxEVT_BUTTON, ID_INPUT_BROWSE,
       Opens(wxExpectModal<wxFileDialog>("/v/in.mp4"), {}, chosenSource)},
      {"OnSelectOutput", wxEVT_BUTTON, ID_OUTPUT_BROWSE,
       Opens(wxExpectModal<wxFileDialog>("/v/out.osq"), {}, chosenOutput)},
      {"OnSetStartTime", wxEVT_BUTTON, ID_SET_START, SetsFromThePreview(&mainFrame::startTimeText)},
      {"OnSetEndTime", wxEVT_BUTTON, ID_SET_END, SetsFromThePreview(&mainFrame::endTimeText)},
      {"OnClearRows", wxEVT_BUTTON, ID_CLEAR_ROWS, Opens(ExpectMessage("Select row/s", wxOK))},
      {"OnSaveDefaultStreams", wxEVT_BUTTON, ID_SAVE_DEFAULT_STREAMS, Asks("Save streams settings as default ?")},
      {"OnLoadDefaultStreams", wxEVT_BUTTON, ID_LOAD_DEFAULT_STREAMS, Asks("Load deafult streams settings ?")},
      {"OnResetStreams", wxEVT_BUTTON, ID_RESET_STREAMS, Asks("Reset to factory streams settings ?")},
      {"OnMaintainAspectRatio", wxEVT_CHECKBOX, ID_ASPECT_RATIO,
       Changes([](mainFrame& f) { f.aspectRatioCheck->SetValue(false); },
               [](mainFrame& f) { EXPECT_TRUE(f.sourceDimensionCheck->IsEnabled()); })},
      {"OnMaintainSourceDimension", wxEVT_CHECKBOX, ID_SOURCE_DIMENSION,
       Changes(
           [](mainFrame& f) {
             f.sourceDimensionCheck->Enable();
             f.sourceDimensionCheck->SetValue(true);
           },
           [](mainFrame& f) {
             EXPECT_FALSE(f.aspectRatioCheck->GetValue());
             EXPECT_FALSE(f.aspectRatioCheck->IsEnabled());
           })},
      {"OnManageIis", wxEVT_CHECKBOX, ID_MANAGE_IIS,
       Opens(
           wxExpectModal<iisManager>(IisAnswer::Ok),
           [](mainFrame& f) {
             f.outputPathText->ChangeValue("/v/clip.osq");
             f.manageIisCheck->SetValue(true);
           },
           [](mainFrame& f) { EXPECT_EQ(f.outputPathText->GetValue(), "/v/clip.jpg"); })},
      {"OnGenerateHtmlPage", wxEVT_CHECKBOX, ID_HTML_PAGE,
       Changes([](mainFrame& f) { f.htmlPageCheck->SetValue(false); },
               [](mainFrame& f) {
                 EXPECT_FALSE(f.showVideoCheck->IsEnabled());
                 EXPECT_FALSE(f.graphicToolbarCheck->IsEnabled());
               })},
      {"OnSkipEvent", wxEVT_CHECKBOX, ID_SHOW_VIDEO, OnlyTicks(&mainFrame::showVideoCheck)},
      {"OnSkipEvent", wxEVT_CHECKBOX, ID_GRAPHIC_TOOLBAR, OnlyTicks(&mainFrame::graphicToolbarCheck)},
      {"OnEncodeSelected", wxEVT_BUTTON, ID_ENCODE_BUTTON, Asks(kStartEncoding)},
      {"OnGridCellChange", wxEVT_GRID_CELL_CHANGED, ID_STREAMS_GRID,
       Changes([](mainFrame& f) { f.streamsGrid->SetCellValue(0, kColumnWidth, "100"); },
               [](mainFrame& f) { EXPECT_EQ(f.streamsGrid->GetCellValue(0, kColumnWidth), "112"); })},
      // The pause it must make shows only on a source the toolkit has loaded,
      // which it does in its own time; here the preview, empty, is taken and
      // left as it is.
      {"OnMediaLoaded", wxEVT_MEDIA_LOADED, ID_MEDIA_CTRL,
       Changes({},
               [](mainFrame& f) {
                 ASSERT_NE(f.mediaCtrl, nullptr);
                 EXPECT_EQ(f.mediaCtrl->GetState(), wxMEDIASTATE_STOPPED);
               })},
  };
}

/// Sends the row's event from where the user's action starts it (menus and
/// tools deliver to the window, controls from themselves); whether a handler
/// kept it.
bool Send(mainFrame& frame, const Row& row) {
  if (row.type == wxEVT_CLOSE_WINDOW) return frame.Close();
  wxWindow* origin = row.type == wxEVT_MENU ? nullptr : wxWindow::FindWindowById(row.id, &frame);
  if (!origin) origin = &frame;
  if (row.type == wxEVT_GRID_CELL_CHANGED) {
    wxGridEvent event(row.id, row.type, origin, 0, kColumnWidth);
    return origin->ProcessWindowEvent(event);
  }
  if (row.type == wxEVT_MEDIA_LOADED) {
    wxMediaEvent event(row.type, row.id);
    event.SetEventObject(origin);
    return origin->ProcessWindowEvent(event);
  }
  wxCommandEvent event(row.type, row.id);
  event.SetEventObject(origin);
  if (auto* box = wxDynamicCast(origin, wxCheckBox)) event.SetInt(box->GetValue());
  return origin->ProcessWindowEvent(event);
}

class EventTableTest : public AppTest {
 protected:
  void Rebuild() {
    if (frame && !IsDestroyed(frame)) frame->Destroy();
    frame = nullptr;
    DeletePendingWindows();
    ResetTestConfig();
    launcher.addresses.clear();
    BuildQuietFrame();
  }
};

TEST_F(EventTableTest, EveryEntrySendsToTheHandlerWithItsEffect) {
  const std::string notMedia = programDir + "/notes.mp4";
  WriteWholeFile(notMedia, "not a video, only words\n");
  const std::vector<Row> rows = Rows(notMedia);
  // A new entry needs its row here.
  EXPECT_EQ(TablePeek::EntryCount(), rows.size());

  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.handler) + " " + std::to_string(row.id));
    Rebuild();
    if (row.effect.before) row.effect.before(*frame);
    bool kept = false;
    row.effect.send([&] { kept = Send(*frame, row); });
    // Only the skipping handler lets its event go on past the window.
    if (row.type != wxEVT_CLOSE_WINDOW) {
      EXPECT_EQ(kept, std::string(row.handler) != "OnSkipEvent");
    }
    row.effect.after(*frame, launcher);
  }
}

}  // namespace
