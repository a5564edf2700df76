// Driving the protection dialogs as a user would: button clicks, grid edits, typing, and a
// modal loop with a deadline.
#pragma once

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <functional>

/// The child window with the id, as T; fails the test when there is none of that type.
template <class T>
T* Child(wxWindow* parent, int id) {
  T* window = dynamic_cast<T*>(parent->FindWindow(id));
  EXPECT_NE(window, nullptr) << "no control " << id;
  return window;
}

bool IsEnabled(wxWindow* parent, int id);

/// Clicks the button as the user would: it must be enabled, and the click travels from it
/// through the dialog's event table.
void ClickButton(wxWindow* parent, int id);

/// Ticks or unticks the check box and sends its click.
void ClickCheckBox(wxWindow* parent, int id, bool ticked);

/// Ends an edit of the cell with the new text, as the grid's editor does: when the text
/// differs, the cell takes it and the grid reports the change.
void EditCell(wxGrid* grid, int row, int col, const wxString& text);

/// Replaces the text as typing would, leaving it marked as changed by the user.
void TypeText(wxTextCtrl* text, const wxString& typed);

/// Shows the dialog modally and runs the action inside its modal loop; the action is expected
/// to end it. A dialog still open after 10 seconds fails the test and is closed.
int ShowModalAndRun(wxDialog& dialog, std::function<void()> action);
