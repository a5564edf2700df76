// The streams grid with its buttons: its columns and editors, the factory
// rows, "Clear", "Save", "Default" and "Reset", the raising of edited sizes
// to a multiple of 16, and the locks the two size check boxes put on the
// size columns (the boxes themselves: mainFrameOptions.cpp).
#include <wx/checkbox.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "StreamChoices.h"
#include "StreamProfileRows.h"
#include "StreamsGridInput.h"
#include "WxText.h"
#include "mainFrame.h"

namespace {

// The stream buttons' questions: caption "Ostrel", No preselected, no parent.
bool AskOstrel(const wxString& question) {
  return wxMessageBox(question, _("Ostrel"), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION) == wxYES;
}

wxArrayString ToArray(const std::vector<std::string>& list) {
  wxArrayString array;
  for (const std::string& entry : list) array.Add(wxString::FromUTF8(entry));
  return array;
}

struct ColumnLook {
  const char* label;
  int width;
};

const ColumnLook kColumns[kStreamColumnCount] = {
    {"Encode", 50},      {"Stream", 80},         {"Width", 50},          {"Height", 50},
    {"Frame\nRate", 50}, {"Video\nBitrate", 60}, {"Audio\nBitrate", 50},
};

// Drawing only: the column's editor stays the one its attribute already has.
void SetColumnRenderer(wxGrid* grid, int col, wxGridCellRenderer* renderer) {
  wxGridCellAttr* attr = grid->GetTable()->GetAttr(-1, col, wxGridCellAttr::Col);
  if (!attr) attr = new wxGridCellAttr;
  attr->SetRenderer(renderer);
  grid->SetColAttr(col, attr);
}

void SetColumnEditor(wxGrid* grid, int col, wxGridCellEditor* editor) {
  auto* attr = new wxGridCellAttr;
  attr->SetEditor(editor);
  grid->SetColAttr(col, attr);
}

void LockColumn(wxGrid* grid, int col, bool locked) {
  for (int row = 0; row < kStreamRowCount; ++row) {
    // White text on the white cells hides the value, which stays in the cell.
    // A whole new cell attribute, set through the grid: changing the one in
    // place would leave the grid drawing and reading a stale cached copy.
    auto* attr = new wxGridCellAttr;
    attr->SetTextColour(locked ? wxColour(255, 255, 255) : wxColour(0, 0, 0));
    attr->SetReadOnly(locked);
    grid->SetAttr(row, col, attr);
  }
}

}  // namespace

void mainFrame::CreateStreamsGrid() {
  wxGrid* grid = streamsGrid;
  grid->EnableDragGridSize(false);
  grid->EnableDragRowSize(false);
  grid->EnableDragColSize(false);
  grid->SetLabelBackgroundColour(wxColour(255, 255, 255));
  // The grid draws its own cells and labels: in the window's face, not the desktop's.
  grid->SetDefaultCellFont(GetFont());
  wxFont labelFont = GetFont();
  labelFont.SetWeight(wxFONTWEIGHT_BOLD);
  grid->SetLabelFont(labelFont);
  grid->SetRowLabelSize(18);
  grid->SetDefaultRowSize(22, false);
  for (int col = 0; col < kStreamColumnCount; ++col) {
    grid->SetColSize(col, kColumns[col].width);
    grid->SetColLabelValue(col, wxGetTranslation(kColumns[col].label));
  }
  SetColumnEditor(grid, kColumnEncode, new wxGridCellBoolEditor);
  SetColumnEditor(grid, kColumnWidth, new ChoiceCellEditor(ToArray(SizeChoices())));
  SetColumnEditor(grid, kColumnHeight, new ChoiceCellEditor(ToArray(SizeChoices())));
  SetColumnEditor(grid, kColumnFrameRate, new ChoiceCellEditor(ToArray(FpsChoices())));
  SetColumnEditor(grid, kColumnVideoBitrate, new NumberCellEditor(24, 2000));
  SetColumnEditor(grid, kColumnAudioBitrate, new ChoiceCellEditor(ToArray(AudioBitrateChoices())));
  SetColumnRenderer(grid, kColumnEncode, new EncodeCellRenderer);
  for (int col = kColumnWidth; col <= kColumnAudioBitrate; ++col) {
    SetColumnRenderer(grid, col, new wxGridCellNumberRenderer);
  }
  BindStreamsGridInput(grid, kColumnEncode);
}

void mainFrame::ClearStreamsGrid() {
  for (int row = 0; row < kStreamRowCount; ++row) {
    for (int col = 0; col < kStreamColumnCount; ++col) streamsGrid->SetCellValue(row, col, wxEmptyString);
  }
  SetColumnRenderer(streamsGrid, kColumnEncode, new EncodeCellRenderer);
}

void mainFrame::ResetStreamsToFactory() {
  const StreamProfileRows rows = FactoryStreamProfileRows();
  for (int row = 0; row < kStreamRowCount; ++row) {
    for (int col = 0; col < kStreamColumnCount; ++col) {
      streamsGrid->SetCellValue(row, col, wxString::FromUTF8(rows[row][col]));
    }
  }
}

void mainFrame::UpdateAspectRatioColumns() {
  LockColumn(streamsGrid, kColumnHeight, aspectRatioCheck->GetValue());
  streamsGrid->ForceRefresh();
}

void mainFrame::UpdateSourceDimensionColumns() {
  const bool locked = sourceDimensionCheck->GetValue();
  LockColumn(streamsGrid, kColumnWidth, locked);
  LockColumn(streamsGrid, kColumnHeight, locked);
  streamsGrid->ForceRefresh();
}

void mainFrame::OnClearRows(wxCommandEvent&) {
  if (!streamsGrid->IsSelection()) {
    wxMessageBox(_("Select row/s"), _("Message"), wxOK);
    return;
  }
  const int answer =
      wxMessageBox(_("Do you really want clear the selected row/s ?"), _("Question"), wxYES_NO | wxICON_QUESTION, this);
  if (answer != wxYES) return;
  for (int row = 0; row < kStreamRowCount; ++row) {
    if (!streamsGrid->IsInSelection(row, kColumnEncode)) continue;
    for (int col = 0; col < kStreamColumnCount; ++col) streamsGrid->SetCellValue(row, col, wxEmptyString);
  }
}

void mainFrame::OnSaveDefaultStreams(wxCommandEvent&) {
  if (AskOstrel(_("Save streams settings as default ?"))) SaveDefaultStreams();
}

void mainFrame::OnLoadDefaultStreams(wxCommandEvent&) {
  if (AskOstrel(_("Load deafult streams settings ?"))) LoadDefaultStreams();
}

void mainFrame::OnResetStreams(wxCommandEvent&) {
  if (AskOstrel(_("Reset to factory streams settings ?"))) ResetStreamsToFactory();
}

void mainFrame::OnGridCellChange(wxGridEvent& event) {
  const int col = event.GetCol();
  if (col != kColumnWidth && col != kColumnHeight) return;
  wxGrid* grid = wxDynamicCast(event.GetEventObject(), wxGrid);
  if (!grid) grid = streamsGrid;
  const int row = event.GetRow();
  std::string raised;
  if (RaiseToSizeStep(ToUtf8(grid->GetCellValue(row, col)), &raised)) {
    grid->SetCellValue(row, col, wxString::FromUTF8(raised));
  }
}
