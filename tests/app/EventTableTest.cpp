// The main window's 37-entry event table, entry by entry, and what the
// handlers of later work do meanwhile: nothing.
#include <wx/checkbox.h>
#include <wx/grid.h>
#include <wx/mediactrl.h>

#include "AppTestSupport.h"

namespace {

// Reaches the frame's static table, which the toolkit keeps protected.
class TablePeek : public mainFrame {
 public:
  static const wxEventTable& Table() { return sm_eventTable; }
  static const wxEventTable* FrameTable() { return &wxFrame::sm_eventTable; }
};

struct EntryCase {
  wxEventType type;
  int id;
  wxObjectEventFunction handler;
  const char* name;
};

#define COMMAND(type, id, fn) {type, id, wxCommandEventHandler(mainFrame::fn), #fn}

TEST(EventTableTest, EveryIdGoesToItsHandlerInOrder) {
  const std::vector<EntryCase> expected = {
      {wxEVT_CLOSE_WINDOW, wxID_ANY, wxCloseEventHandler(mainFrame::OnCloseWindow), "OnCloseWindow"},
      COMMAND(wxEVT_MENU, 10027, OnLoadSettingsSelected),
      COMMAND(wxEVT_MENU, 10028, OnSaveSettingsSelected),
      COMMAND(wxEVT_MENU, 10035, OnEncodeSelected),
      COMMAND(wxEVT_MENU, 10033, OnCheckUpdatesSelected),
      COMMAND(wxEVT_MENU, 10032, OnOnlineHelpTool),
      COMMAND(wxEVT_MENU, 10019, OnSelectInput),
      COMMAND(wxEVT_MENU, 10034, OnSelectOutput),
      COMMAND(wxEVT_MENU, 10017, OnExitSelected),
      COMMAND(wxEVT_MENU, 10015, OnLoadSettingsSelected),
      COMMAND(wxEVT_MENU, 10018, OnSaveSettingsSelected),
      COMMAND(wxEVT_MENU, 10035, OnEncodeSelected),
      COMMAND(wxEVT_MENU, 10026, OnSecretPhraseSelected),
      COMMAND(wxEVT_MENU, 10029, OnSecurityManagerSelected),
      COMMAND(wxEVT_MENU, 10062, OnTempDirSelected),
      COMMAND(wxEVT_MENU, 10023, OnOnlineHelpSelected),
      COMMAND(wxEVT_MENU, 10053, OnCheckUpdatesSelected),
      COMMAND(wxEVT_MENU, 10021, OnVisitWebsiteSelected),
      COMMAND(wxEVT_MENU, 10020, OnAboutSelected),
      COMMAND(wxEVT_TEXT, 10003, OnInputPathChanged),
      COMMAND(wxEVT_BUTTON, 10004, OnSelectInput),
      COMMAND(wxEVT_BUTTON, 10006, OnSelectOutput),
      COMMAND(wxEVT_BUTTON, 10036, OnSetStartTime),
      COMMAND(wxEVT_BUTTON, 10038, OnSetEndTime),
      COMMAND(wxEVT_BUTTON, 10013, OnClearRows),
      COMMAND(wxEVT_BUTTON, 10055, OnSaveDefaultStreams),
      COMMAND(wxEVT_BUTTON, 10054, OnLoadDefaultStreams),
      COMMAND(wxEVT_BUTTON, 10014, OnResetStreams),
      COMMAND(wxEVT_CHECKBOX, 10022, OnMaintainAspectRatio),
      COMMAND(wxEVT_CHECKBOX, 10045, OnMaintainSourceDimension),
      COMMAND(wxEVT_CHECKBOX, 10066, OnManageIis),
      COMMAND(wxEVT_CHECKBOX, 10042, OnGenerateHtmlPage),
      COMMAND(wxEVT_CHECKBOX, 10043, OnSkipEvent),
      COMMAND(wxEVT_CHECKBOX, 10056, OnSkipEvent),
      COMMAND(wxEVT_BUTTON, 10060, OnEncodeSelected),
      {wxEVT_GRID_CELL_CHANGED, wxID_ANY, wxGridEventHandler(mainFrame::OnGridCellChange), "OnGridCellChange"},
      {wxEVT_MEDIA_LOADED, 12002, wxMediaEventHandler(mainFrame::OnMediaLoaded), "OnMediaLoaded"},
  };
  ASSERT_EQ(expected.size(), 37u);

  const wxEventTableEntry* entries = TablePeek::Table().entries;
  size_t count = 0;
  while (entries[count].m_fn) ++count;
  ASSERT_EQ(count, expected.size());
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(std::to_string(i + 1) + " " + expected[i].name);
    const wxEventTableEntry& entry = entries[i];
    EXPECT_EQ(entry.m_eventType, expected[i].type);
    EXPECT_EQ(entry.m_id, expected[i].id);
    EXPECT_EQ(entry.m_callbackUserData, nullptr);
    EXPECT_TRUE(entry.m_fn->GetEvtMethod() == expected[i].handler);
  }
  EXPECT_EQ(TablePeek::Table().baseTable, TablePeek::FrameTable());
}

class LaterHandlersTest : public AppTest {};

// Handlers whose work comes with the encode, settings and publishing
// commands are bound already and change nothing in the window yet.
TEST_F(LaterHandlersTest, SkipBoxesRunNothingButTheSkip) {
  BuildQuietFrame();
  for (int id : {ID_SHOW_VIDEO, ID_GRAPHIC_TOOLBAR}) {
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    frame->OnSkipEvent(event);
    EXPECT_TRUE(event.GetSkipped());
  }
  EXPECT_NO_DIALOG({
    frame->showVideoCheck->SetValue(true);
    SendCommand(frame, wxEVT_CHECKBOX, ID_SHOW_VIDEO, 1);
    frame->graphicToolbarCheck->SetValue(true);
    SendCommand(frame, wxEVT_CHECKBOX, ID_GRAPHIC_TOOLBAR, 1);
  });
  EXPECT_TRUE(frame->showVideoCheck->IsEnabled());
  EXPECT_TRUE(frame->graphicToolbarCheck->IsEnabled());
  EXPECT_TRUE(frame->htmlPageCheck->GetValue());
}

}  // namespace
