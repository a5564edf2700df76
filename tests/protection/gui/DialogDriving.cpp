// Driving the protection dialogs in tests.
#include "DialogDriving.h"

#include <wx/checkbox.h>
#include <wx/timer.h>

bool IsEnabled(wxWindow* parent, int id) {
  wxWindow* window = parent->FindWindow(id);
  EXPECT_NE(window, nullptr) << "no control " << id;
  return window && window->IsEnabled();
}

void ClickButton(wxWindow* parent, int id) {
  auto* button = Child<wxButton>(parent, id);
  if (!button) return;
  EXPECT_TRUE(button->IsEnabled()) << "button " << id << " clicked while disabled";
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->ProcessWindowEvent(click);
}

void ClickCheckBox(wxWindow* parent, int id, bool ticked) {
  auto* box = Child<wxCheckBox>(parent, id);
  if (!box) return;
  box->SetValue(ticked);
  wxCommandEvent click(wxEVT_CHECKBOX, id);
  click.SetEventObject(box);
  click.SetInt(ticked ? 1 : 0);
  box->ProcessWindowEvent(click);
}

void EditCell(wxGrid* grid, int row, int col, const wxString& text) {
  if (grid->GetCellValue(row, col) == text) return;
  grid->SetCellValue(row, col, text);
  wxGridEvent changed(grid->GetId(), wxEVT_GRID_CELL_CHANGED, grid, row, col);
  grid->ProcessWindowEvent(changed);
}

void TypeText(wxTextCtrl* text, const wxString& typed) {
  text->ChangeValue(typed);
  text->MarkDirty();
}

int ShowModalAndRun(wxDialog& dialog, std::function<void()> action) {
  dialog.CallAfter(action);
  wxTimer deadline;
  deadline.Bind(wxEVT_TIMER, [&dialog](wxTimerEvent&) {
    if (dialog.IsModal()) {
      ADD_FAILURE() << "the dialog was still open after 10 seconds";
      dialog.EndModal(wxID_ABORT);
    }
  });
  deadline.StartOnce(10000);
  return dialog.ShowModal();
}
