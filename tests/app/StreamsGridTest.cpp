// The streams grid: columns, editors and their lists, the factory rows, the
// four buttons with their questions, the multiple-of-16 rule, and the two
// size check boxes that exclude each other and lock size columns.
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/grid.h>
#include <wx/spinctrl.h>

#include "AppTestSupport.h"
#include "StreamChoices.h"
#include "StreamProfileRows.h"

namespace {

class StreamsGridTest : public AppTest {
 protected:
  wxGrid* Grid() const { return frame->streamsGrid; }

  StreamProfileRows GridRows() const {
    StreamProfileRows rows{};
    for (int row = 0; row < kStreamRowCount; ++row) {
      for (int col = 0; col < kStreamColumnCount; ++col) {
        rows[row][col] = std::string(Grid()->GetCellValue(row, col).utf8_str());
      }
    }
    return rows;
  }

  /// The cell's editor, as its column attribute gives it.
  template <class Editor>
  Editor* EditorOf(int col) {
    wxGridCellEditor* editor = Grid()->GetCellEditor(0, col);
    auto* typed = dynamic_cast<Editor*>(editor);
    editor->DecRef();
    return typed;
  }

  template <class Renderer>
  bool DrawnAs(int col) {
    wxGridCellRenderer* renderer = Grid()->GetCellRenderer(0, col);
    const bool is = dynamic_cast<Renderer*>(renderer) != nullptr;
    renderer->DecRef();
    return is;
  }

  /// Opens the cell editor of row 0 in the column, as a click would; its control.
  wxWindow* OpenEditor(int col) {
    Grid()->SetGridCursor(0, col);
    Grid()->EnableCellEditControl();
    wxGridCellEditor* editor = Grid()->GetCellEditor(0, col);
    wxWindow* control = editor->IsCreated() ? editor->GetWindow() : nullptr;
    editor->DecRef();
    return control;
  }

  void ChangeCell(int row, int col, const wxString& value) {
    Grid()->SetCellValue(row, col, value);
    wxGridEvent event(Grid()->GetId(), wxEVT_GRID_CELL_CHANGED, Grid(), row, col);
    Grid()->ProcessWindowEvent(event);
  }

  void Tick(wxCheckBox* box, bool ticked) {
    box->SetValue(ticked);
    SendCommand(frame, wxEVT_CHECKBOX, box->GetId(), ticked ? 1 : 0);
  }

  bool Locked(int col) const {
    for (int row = 0; row < kStreamRowCount; ++row) {
      const bool white = Grid()->GetCellTextColour(row, col) == wxColour(255, 255, 255);
      if (white != Grid()->IsReadOnly(row, col)) ADD_FAILURE() << "row " << row << " half locked";
      if (!white) return false;
    }
    return true;
  }
};

TEST_F(StreamsGridTest, ColumnsHaveTheirLabelsWidthsEditorsAndDrawing) {
  BuildQuietFrame();
  struct ColumnCase {
    const char* label;
    int width;
  };
  const std::vector<ColumnCase> columns = {{"Encode", 50},        {"Stream", 80},      {"Width", 50},
                                           {"Height", 50},        {"Frame\nRate", 50}, {"Video\nBitrate", 60},
                                           {"Audio\nBitrate", 50}};
  for (int col = 0; col < kStreamColumnCount; ++col) {
    SCOPED_TRACE(columns[col].label);
    EXPECT_EQ(Grid()->GetColLabelValue(col), columns[col].label);
    EXPECT_EQ(Grid()->GetColSize(col), columns[col].width);
  }
  EXPECT_EQ(Grid()->GetRowLabelSize(), 18);
  EXPECT_EQ(Grid()->GetDefaultRowSize(), 22);
  EXPECT_EQ(Grid()->GetColLabelSize(), 30);
  EXPECT_EQ(Grid()->GetLabelBackgroundColour(), wxColour(255, 255, 255));
  EXPECT_FALSE(Grid()->CanDragGridSize());
  EXPECT_FALSE(Grid()->CanDragRowSize(0));
  EXPECT_FALSE(Grid()->CanDragColSize(0));

  EXPECT_NE(EditorOf<wxGridCellBoolEditor>(kColumnEncode), nullptr);
  EXPECT_NE(EditorOf<wxGridCellTextEditor>(kColumnName), nullptr);
  EXPECT_NE(EditorOf<wxGridCellChoiceEditor>(kColumnWidth), nullptr);
  EXPECT_NE(EditorOf<wxGridCellChoiceEditor>(kColumnHeight), nullptr);
  EXPECT_NE(EditorOf<wxGridCellChoiceEditor>(kColumnFrameRate), nullptr);
  EXPECT_NE(EditorOf<wxGridCellNumberEditor>(kColumnVideoBitrate), nullptr);
  EXPECT_NE(EditorOf<wxGridCellChoiceEditor>(kColumnAudioBitrate), nullptr);
  EXPECT_TRUE(DrawnAs<wxGridCellBoolRenderer>(kColumnEncode));
  for (int col = kColumnWidth; col <= kColumnAudioBitrate; ++col) {
    EXPECT_TRUE(DrawnAs<wxGridCellNumberRenderer>(col)) << col;
  }
}

TEST_F(StreamsGridTest, ChoiceEditorsOfferTheirListsAndNothingElse) {
  BuildQuietFrame();
  struct ListCase {
    int col;
    const std::vector<std::string>* choices;
  };
  const std::vector<ListCase> lists = {{kColumnWidth, &SizeChoices()},
                                       {kColumnHeight, &SizeChoices()},
                                       {kColumnFrameRate, &FpsChoices()},
                                       {kColumnAudioBitrate, &AudioBitrateChoices()}};
  frame->Show();
  wxYield();
  for (const ListCase& c : lists) {
    SCOPED_TRACE(c.col);
    auto* combo = wxDynamicCast(OpenEditor(c.col), wxComboBox);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), c.choices->size());
    for (size_t i = 0; i < c.choices->size(); ++i) {
      EXPECT_EQ(combo->GetString(i), wxString::FromUTF8((*c.choices)[i]));
    }
    EXPECT_TRUE(combo->HasFlag(wxCB_READONLY));  // no value but the listed ones
    Grid()->DisableCellEditControl();
  }
  // The video bitrate editor: a spin control from 24 to 2000.
  auto* spin = wxDynamicCast(OpenEditor(kColumnVideoBitrate), wxSpinCtrl);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->GetMin(), 24);
  EXPECT_EQ(spin->GetMax(), 2000);
  Grid()->DisableCellEditControl();
}

TEST_F(StreamsGridTest, ResetAsksAndLeavesTheFactoryRows) {
  BuildQuietFrame();
  Grid()->SetCellValue(6, kColumnName, "Mine");
  Grid()->SetCellValue(0, kColumnEncode, "1");
  StreamProfileRows before = GridRows();

  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_RESET_STREAMS),
                ExpectMessage("Reset to factory streams settings ?", wxNO));
  EXPECT_EQ(GridRows(), before);

  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_RESET_STREAMS),
                ExpectMessage("Reset to factory streams settings ?", wxYES));
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());
  int selected = 0;
  for (int row = 0; row < kStreamRowCount; ++row) selected += !Grid()->GetCellValue(row, kColumnEncode).empty();
  EXPECT_EQ(selected, 1);
}

TEST_F(StreamsGridTest, SaveAndDefaultAskFirst) {
  BuildQuietFrame();
  const std::string file = programDir + "/default_streams.xml";
  const std::string shipped = ReadWholeFile(file);
  Grid()->SetCellValue(8, kColumnName, "Ninth");

  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_SAVE_DEFAULT_STREAMS),
                ExpectMessage("Save streams settings as default ?", wxNO));
  EXPECT_EQ(ReadWholeFile(file), shipped);
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_SAVE_DEFAULT_STREAMS),
                ExpectMessage("Save streams settings as default ?", wxYES));
  EXPECT_NE(ReadWholeFile(file).find("<name>Ninth</name>"), std::string::npos);

  frame->ResetStreamsToFactory();
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_LOAD_DEFAULT_STREAMS),
                ExpectMessage("Load deafult streams settings ?", wxNO));
  EXPECT_EQ(Grid()->GetCellValue(5, kColumnName), "");
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_LOAD_DEFAULT_STREAMS),
                ExpectMessage("Load deafult streams settings ?", wxYES));
  EXPECT_EQ(Grid()->GetCellValue(5, kColumnName), "Ninth");  // read back from the top
}

TEST_F(StreamsGridTest, ClearEmptiesOnlyRowsWhoseEncodeCellIsSelected) {
  BuildQuietFrame();
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS), ExpectMessage("Select row/s", wxOK));
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());

  // Cells of the Stream column only: asked, but nothing to clear.
  Grid()->SelectBlock(0, kColumnName, 4, kColumnName);
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS),
                ExpectMessage("Do you really want clear the selected row/s ?", wxYES));
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());

  Grid()->SelectRow(1);
  Grid()->SelectRow(3, true);
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS),
                ExpectMessage("Do you really want clear the selected row/s ?", wxNO));
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());
  wxTEST_DIALOG(SendCommand(frame, wxEVT_BUTTON, ID_CLEAR_ROWS),
                ExpectMessage("Do you really want clear the selected row/s ?", wxYES));
  StreamProfileRows expected = FactoryStreamProfileRows();
  expected[1] = StreamProfileRow{};
  expected[3] = StreamProfileRow{};
  EXPECT_EQ(GridRows(), expected);
}

TEST_F(StreamsGridTest, EditedSizesRiseToAMultipleOf16) {
  BuildQuietFrame();
  struct Case {
    int col;
    const char* typed;
    const char* kept;
  };
  const std::vector<Case> cases = {
      {kColumnWidth, "17", "32"},          {kColumnHeight, "330", "336"}, {kColumnWidth, "320", "320"},
      {kColumnHeight, "abc", "abc"},       {kColumnWidth, "1", "16"},     {kColumnFrameRate, "17", "17"},
      {kColumnVideoBitrate, "330", "330"}, {kColumnName, "17", "17"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " in column " + std::to_string(c.col));
    EXPECT_NO_DIALOG(ChangeCell(4, c.col, c.typed));
    EXPECT_EQ(Grid()->GetCellValue(4, c.col), c.kept);
  }
}

TEST_F(StreamsGridTest, SizeBoxesExcludeEachOtherAndLockTheirColumns) {
  BuildQuietFrame();
  // As built: the aspect ratio ticked, but no column locked until a box is used.
  EXPECT_FALSE(Locked(kColumnHeight));

  Tick(frame->aspectRatioCheck, false);
  EXPECT_TRUE(frame->sourceDimensionCheck->IsEnabled());
  EXPECT_FALSE(frame->sourceDimensionCheck->GetValue());
  EXPECT_FALSE(Locked(kColumnHeight));
  EXPECT_EQ(Grid()->GetCellTextColour(0, kColumnHeight), wxColour(0, 0, 0));

  Tick(frame->aspectRatioCheck, true);
  EXPECT_TRUE(frame->aspectRatioCheck->GetValue());
  EXPECT_FALSE(frame->sourceDimensionCheck->IsEnabled());
  EXPECT_TRUE(Locked(kColumnHeight));
  EXPECT_FALSE(Locked(kColumnWidth));
  EXPECT_EQ(Grid()->GetCellValue(2, kColumnHeight), "256");  // hidden, not removed

  Tick(frame->aspectRatioCheck, false);
  Tick(frame->sourceDimensionCheck, true);
  EXPECT_FALSE(frame->aspectRatioCheck->IsEnabled());
  EXPECT_FALSE(frame->aspectRatioCheck->GetValue());
  EXPECT_TRUE(Locked(kColumnWidth));
  EXPECT_TRUE(Locked(kColumnHeight));

  Tick(frame->sourceDimensionCheck, false);
  EXPECT_TRUE(frame->aspectRatioCheck->IsEnabled());
  EXPECT_FALSE(frame->aspectRatioCheck->GetValue());
  EXPECT_FALSE(Locked(kColumnWidth));
  EXPECT_FALSE(Locked(kColumnHeight));
}

}  // namespace
