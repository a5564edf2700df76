// How a person uses the streams grid with the mouse and the keyboard: the
// Encode column set or cleared with one click and drawn ticked for any text
// that counts as set, Escape leaving a cell as it was, and Tab leaving the
// grid at its last cell.
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

/// The grid answers Escape by resetting the editor and then saving what the
/// editor holds; a choice or number editor cannot hold a value outside its
/// list or range (an empty cell, a size from saved settings), so it would
/// save its first choice or its minimum instead. Over such an editor, Escape
/// saves nothing: the cell keeps the value it had.
template <class Editor>
class EscapeKeepsTheValue : public Editor {
 public:
  using Editor::Editor;
  void BeginEdit(int row, int col, wxGrid* grid) override {
    escaped_ = false;
    Editor::BeginEdit(row, col, grid);
  }
  bool EndEdit(int row, int col, const wxGrid* grid, const wxString& oldval, wxString* newval) override {
    return !escaped_ && Editor::EndEdit(row, col, grid, oldval, newval);
  }
  void Reset() override {
    escaped_ = true;
    Editor::Reset();
  }

 private:
  bool escaped_ = false;
};

/// A choice of these texts and no other.
class ChoiceCellEditor : public EscapeKeepsTheValue<wxGridCellChoiceEditor> {
 public:
  explicit ChoiceCellEditor(const wxArrayString& choices) : EscapeKeepsTheValue(choices, false) {}
  wxGridCellEditor* Clone() const override { return new ChoiceCellEditor(m_choices); }
};

/// A whole number from `min` to `max`.
class NumberCellEditor : public EscapeKeepsTheValue<wxGridCellNumberEditor> {
 public:
  NumberCellEditor(int min, int max) : EscapeKeepsTheValue(min, max), min_(min), max_(max) {}
  wxGridCellEditor* Clone() const override { return new NumberCellEditor(min_, max_); }

 private:
  int min_;
  int max_;
};

/// One click on an Encode cell sets it ("1") or clears it (empty) and makes
/// it the current cell; Tab on the grid's last cell and Shift+Tab on its
/// first go on to the neighbouring control, elsewhere they move cell by cell
/// and wrap to the next or previous row.
void BindStreamsGridInput(wxGrid* grid, int encodeColumn);
