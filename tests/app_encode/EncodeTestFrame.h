// A small frame that holds the controls the encode control works on, laid
// out as the main window has them: path fields, the source facts, time and
// crop fields, the 9 x 7 streams grid with the factory rows, the options,
// the progress area, the Encode button and the hidden running flag, with the
// Encode, Exit and temporary-folder commands in its menus and the Encode
// tool. It forwards the input field's changes and the Encode button as the
// main window does. No media backend is needed: the preview is optional.
#pragma once

#include <wx/frame.h>

#include <string>

#include "abstractMainFrame.h"

class wxMediaEvent;

// Its controls are the encode window's own members: the frame is the window
// the encode control sees.
class EncodeTestFrame : public wxFrame, public EncodeWindow {
 public:
  /// With `withMedia`, a real media control (the toolkit's default backend).
  explicit EncodeTestFrame(bool withMedia = false);
  ~EncodeTestFrame() override;

  abstractMainFrame control;
  EncodeWindow Window() const { return *this; }
  /// The six fact displays, in the probe's order.
  wxTextCtrl* facts[6] = {};
  int probeCount = 0;
  int mediaLoadedCount = 0;

  /// Selects exactly the rows named (encode cell "1"), clearing the others.
  void SelectRows(std::initializer_list<int> rows);
  /// Types `text` into the input field one character at a time, as a user
  /// does: one change event per character.
  void TypeInput(const wxString& text);
  /// The Encode command, as the button and the menu give it.
  void Encode() { control.OnEncode(Window()); }

 private:
  void OnInputChanged(wxCommandEvent& event);
  void OnEncodeButton(wxCommandEvent& event);
  void OnMediaLoaded(wxMediaEvent& event);
};

/// Destroys a frame and lets the toolkit finish with it.
void CloseFrame(wxFrame* frame);
