// The streams grid under a person's mouse and keyboard: the Encode cell
// ticked for any text that counts as set, set and cleared with one click,
// and Tab leaving the grid at its last cell.
#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/grid.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "AppTestSupport.h"
#include "StreamProfileRows.h"

namespace {

class StreamsGridInputTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    BuildQuietFrame();
    frame->Show();
    frame->Raise();
    wxYield();
  }

  wxGrid* Grid() const { return frame->streamsGrid; }

  /// The cell's picture as the grid's renderer for it draws it.
  wxImage DrawCell(int row, int col) {
    const wxRect rect(0, 0, Grid()->GetColSize(col), Grid()->GetRowSize(row));
    wxBitmap bitmap(rect.GetSize());
    {
      wxMemoryDC dc(bitmap);
      wxGridCellAttr* attr = Grid()->GetOrCreateCellAttr(row, col);
      wxGridCellRenderer* renderer = Grid()->GetCellRenderer(row, col);
      renderer->Draw(*Grid(), *attr, dc, rect, row, col, false);
      renderer->DecRef();
      attr->DecRef();
    }
    return bitmap.ConvertToImage();
  }

  static bool SamePicture(const wxImage& a, const wxImage& b) {
    const size_t bytes = static_cast<size_t>(a.GetWidth()) * a.GetHeight() * 3;
    return a.GetSize() == b.GetSize() && std::equal(a.GetData(), a.GetData() + bytes, b.GetData());
  }

  /// A real click in the middle of the cell.
  void ClickCell(int row, int col) {
    Grid()->MakeCellVisible(row, col);
    const wxRect cell = Grid()->CellToRect(row, col);
    const wxPoint centre = Grid()->GetGridWindow()->ClientToScreen(Grid()->CalcScrolledPosition(cell.GetPosition()) +
                                                                   wxPoint(cell.width / 2, cell.height / 2));
    wxUIActionSimulator mouse;
    mouse.MouseMove(centre);
    wxYield();
    mouse.MouseClick();
    wxYield();
  }

  bool GridHasFocus() const {
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent()) {
      if (w == Grid()) return true;
    }
    return false;
  }
};

TEST_F(StreamsGridInputTest, AnyTextThatCountsAsSetIsDrawnTicked) {
  Grid()->SetCellValue(0, kColumnEncode, "1");
  Grid()->SetCellValue(1, kColumnEncode, "yes");
  Grid()->SetCellValue(3, kColumnEncode, "0");
  Grid()->SetCellValue(4, kColumnEncode, "");
  const wxImage ticked = DrawCell(0, kColumnEncode);
  const wxImage clear = DrawCell(4, kColumnEncode);
  EXPECT_FALSE(SamePicture(ticked, clear));
  EXPECT_TRUE(SamePicture(DrawCell(1, kColumnEncode), ticked));
  // Not empty, so set: the encode takes the row.
  EXPECT_TRUE(SamePicture(DrawCell(3, kColumnEncode), ticked));
}

TEST_F(StreamsGridInputTest, OneClickSetsOrClearsTheEncodeCell) {
  ASSERT_EQ(Grid()->GetCellValue(0, kColumnEncode), "");
  ASSERT_EQ(Grid()->GetCellValue(2, kColumnEncode), "1");
  Grid()->SetGridCursor(5, kColumnName);
  ClickCell(0, kColumnEncode);
  EXPECT_EQ(Grid()->GetCellValue(0, kColumnEncode), "1");
  EXPECT_EQ(Grid()->GetGridCursorRow(), 0);
  ClickCell(0, kColumnEncode);
  EXPECT_EQ(Grid()->GetCellValue(0, kColumnEncode), "");
  ClickCell(2, kColumnEncode);
  EXPECT_EQ(Grid()->GetCellValue(2, kColumnEncode), "");
  // Other columns keep the grid's own behaviour.
  ClickCell(1, kColumnName);
  EXPECT_EQ(Grid()->GetCellValue(1, kColumnName), "ISDN");
}

TEST_F(StreamsGridInputTest, TabLeavesTheGridAtItsLastCellAndShiftTabAtItsFirst) {
  const int lastRow = Grid()->GetNumberRows() - 1;
  const int lastCol = Grid()->GetNumberCols() - 1;
  wxUIActionSimulator keys;

  ClickCell(0, kColumnName);
  ASSERT_TRUE(GridHasFocus());
  keys.Char(WXK_TAB);
  wxYield();
  EXPECT_EQ(Grid()->GetGridCursorCol(), kColumnWidth);  // inside the grid, cell by cell

  Grid()->SetGridCursor(0, lastCol);
  keys.Char(WXK_TAB);
  wxYield();
  EXPECT_EQ(Grid()->GetGridCursorRow(), 1);  // wraps to the next row
  EXPECT_EQ(Grid()->GetGridCursorCol(), 0);

  Grid()->SetGridCursor(lastRow, lastCol);
  keys.Char(WXK_TAB);
  wxYield();
  EXPECT_FALSE(GridHasFocus());
  EXPECT_EQ(wxWindow::FindFocus(), frame->clearButton);

  // Shift+Tab as the toolkit delivers it: the simulated one does not reach
  // the grid as a shifted Tab under Xvfb.
  ClickCell(0, kColumnName);
  Grid()->SetGridCursor(0, 0);
  wxKeyEvent shiftTab(wxEVT_KEY_DOWN);
  shiftTab.m_keyCode = WXK_TAB;
  shiftTab.SetShiftDown(true);
  shiftTab.SetEventObject(Grid()->GetGridWindow());
  Grid()->GetGridWindow()->GetEventHandler()->ProcessEvent(shiftTab);
  wxYield();
  EXPECT_FALSE(GridHasFocus());
  EXPECT_EQ(wxWindow::FindFocus(), static_cast<wxWindow*>(frame->cropBottomText));
}

// A person types into a cell, then thinks better of it: Escape gives the
// cell back the value it had, whatever the column's editor. Values outside a
// choice list or a number range (an empty cell, a height of 218 as the
// factory rows have it) are the ones an editor cannot hold.
TEST_F(StreamsGridInputTest, EscapeGivesTheCellBackItsValueInEveryColumnsEditor) {
  struct Case {
    int col;
    const char* before;
    int key;  ///< typed to open the editor
  };
  const std::vector<Case> cases = {
      {kColumnName, "Modem", 'x'},        {kColumnWidth, "", '8'},        {kColumnWidth, "240", '8'},
      {kColumnHeight, "", '8'},           {kColumnHeight, "218", '8'},    {kColumnFrameRate, "", '8'},
      {kColumnFrameRate, "10", '8'},      {kColumnVideoBitrate, "", '8'}, {kColumnVideoBitrate, "40", '8'},
      {kColumnVideoBitrate, "9000", '8'}, {kColumnAudioBitrate, "", '8'}, {kColumnAudioBitrate, "12", '9'},
  };
  wxUIActionSimulator keys;
  const int row = 6;
  for (const Case& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.col) + " holding \"" + c.before + "\"");
    Grid()->SetCellValue(row, c.col, c.before);
    ClickCell(row, kColumnName);
    Grid()->SetGridCursor(row, c.col);
    wxYield();
    keys.Char(c.key);
    wxYield();
    ASSERT_TRUE(Grid()->IsCellEditControlShown()) << "the key did not open the editor";
    keys.Char(WXK_ESCAPE);
    wxYield();
    EXPECT_FALSE(Grid()->IsCellEditControlShown());
    EXPECT_EQ(Grid()->GetCellValue(row, c.col), c.before);
  }
  // The Encode cell has no editing state to leave: a click or Space sets it
  // at once. Escape on it changes nothing.
  Grid()->SetCellValue(row, kColumnEncode, "");
  Grid()->SetGridCursor(row, kColumnEncode);
  keys.Char(WXK_ESCAPE);
  wxYield();
  EXPECT_EQ(Grid()->GetCellValue(row, kColumnEncode), "");
}

// Escape takes back only the edit it ends: a number typed and confirmed with
// Enter in the same cell afterwards is saved.
TEST_F(StreamsGridInputTest, AnEditConfirmedAfterAnEscapeIsKept) {
  wxUIActionSimulator keys;
  const int row = 6;
  Grid()->SetCellValue(row, kColumnVideoBitrate, "");
  ClickCell(row, kColumnName);
  Grid()->SetGridCursor(row, kColumnVideoBitrate);
  wxYield();
  keys.Char('9');
  wxYield();
  keys.Char(WXK_ESCAPE);
  wxYield();
  ASSERT_EQ(Grid()->GetCellValue(row, kColumnVideoBitrate), "");
  keys.Char('9');
  wxYield();
  keys.Char(WXK_RETURN);
  wxYield();
  EXPECT_FALSE(Grid()->IsCellEditControlShown());
  // 9 is below the editor's range: it keeps its least value, 24.
  EXPECT_EQ(Grid()->GetCellValue(row, kColumnVideoBitrate), "24");
}

}  // namespace
