// How a person uses the streams grid with the mouse and the keyboard: the
// Encode column set or cleared with one click and drawn ticked for any text
// that counts as set, and Tab leaving the grid at its last cell.
#pragma once

#include <wx/grid.h>

/// The Encode cell's drawing: ticked for any non-empty text, as any non-empty
/// text selects the row for encoding (a stored "yes" is as set as "1").
class EncodeCellRenderer : public wxGridCellBoolRenderer {
 public:
  void Draw(wxGrid& grid, wxGridCellAttr& attr, wxDC& dc, const wxRect& rect, int row, int col,
            bool isSelected) override;
  wxGridCellRenderer* Clone() const override { return new EncodeCellRenderer; }
};

/// One click on an Encode cell sets it ("1") or clears it (empty) and makes
/// it the current cell; Tab on the grid's last cell and Shift+Tab on its
/// first go on to the neighbouring control, elsewhere they move cell by cell
/// and wrap to the next or previous row.
void BindStreamsGridInput(wxGrid* grid, int encodeColumn);
