// The streams grid's mouse and keyboard behaviour.
#include "StreamsGridInput.h"

#include <wx/dc.h>
#include <wx/renderer.h>

#include <vector>

namespace {

// The toolkit's own navigation lands on the grid itself again: the focus goes
// to the nearest sibling that takes it from the keyboard, in creation order.
void FocusNeighbour(wxWindow* grid, bool forward) {
  const wxWindowList& children = grid->GetParent()->GetChildren();
  const std::vector<wxWindow*> siblings(children.begin(), children.end());
  const int count = static_cast<int>(siblings.size());
  int at = 0;
  while (at < count && siblings[at] != grid) ++at;
  for (int i = at + (forward ? 1 : -1); i >= 0 && i < count; i += forward ? 1 : -1) {
    wxWindow* next = siblings[i];
    if (next->IsShown() && next->IsEnabled() && next->CanAcceptFocusFromKeyboard()) {
      next->SetFocus();
      return;
    }
  }
}

}  // namespace

void EncodeCellRenderer::Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
                              bool isSelected) {
  // The background and selection as every cell has them.
  wxGridCellRenderer::Draw(grid, attr, dc, rect, row, col, isSelected);
  int flags = wxCONTROL_CELL;
  if (!grid.GetCellValue(row, col).empty()) flags |= wxCONTROL_CHECKED;
  const wxSize box = GetBestSize(grid, attr, dc, row, col);
  const wxRect boxRect(rect.x + (rect.width - box.x) / 2, rect.y + (rect.height - box.y) / 2, box.x, box.y);
  wxRendererNative::Get().DrawCheckBox(&grid, dc, boxRect.Intersect(rect), flags);
}

void BindStreamsGridInput(wxGrid* grid, int encodeColumn) {
  // The grid's own way needs two clicks (the first only selects the cell)
  // and its check box editor sees only "1" as set.
  grid->Bind(wxEVT_GRID_CELL_LEFT_CLICK, [grid, encodeColumn](wxGridEvent& event) {
    if (event.GetCol() != encodeColumn || grid->IsReadOnly(event.GetRow(), event.GetCol())) {
      event.Skip();
      return;
    }
    const int row = event.GetRow();
    grid->SetGridCursor(row, encodeColumn);
    grid->SetCellValue(row, encodeColumn, grid->GetCellValue(row, encodeColumn).empty() ? "1" : "");
  });

  // Without this, Tab stops at the end of a row and the controls after the
  // grid cannot be reached from the keyboard.
  grid->SetTabBehaviour(wxGrid::Tab_Wrap);
  grid->Bind(wxEVT_GRID_TABBING, [grid](wxGridEvent& event) {
    const bool forward = !event.ShiftDown();
    const int lastRow = grid->GetNumberRows() - 1;
    const int lastCol = grid->GetNumberCols() - 1;
    const bool atEnd = forward ? (event.GetRow() == lastRow && event.GetCol() == lastCol)
                               : (event.GetRow() == 0 && event.GetCol() == 0);
    if (!atEnd) {
      event.Skip();
      return;
    }
    FocusNeighbour(grid, forward);
  });
}
