// The preview's player controls: play/pause, a slider that seeks and the
// position as text, in the strip below the media control. The toolkit's
// GStreamer backend shows no controls of its own (ShowPlayerControls does
// nothing there); without these the preview stays on its first picture and
// the time range's "Set" buttons can only copy 0. They use nothing but the
// media control's own Play, Pause, Seek, Tell and Length.
//
// They also remember where the preview was: a run stops the media control,
// which blanks the picture on GStreamer, and the run's end brings the
// picture back there, paused (ShowSourceAgain).
#pragma once

#include <wx/filefn.h>
#include <wx/panel.h>
#include <wx/timer.h>

class wxButton;
class wxMediaCtrl;
class wxMediaEvent;
class wxSlider;
class wxStaticText;

class PreviewControls : public wxPanel {
 public:
  /// Below `media`, a sibling of it. A null media control (no backend on this
  /// machine) gives the controls greyed.
  PreviewControls(wxWindow* parent, wxMediaCtrl* media);

  /// Loads the source into the preview, which then waits paused at its
  /// start. A source the media control refuses leaves no picture of the
  /// source before it. Works without controls too (plain load and play).
  static void LoadSource(wxMediaCtrl* media, const wxString& path);
  /// After a run: the source's picture again, paused where it was before the
  /// run stopped the preview.
  static void ShowSourceAgain(wxMediaCtrl* media);
  /// The controls of that media control, or null.
  static PreviewControls* Of(wxMediaCtrl* media);

  wxButton* GetPlayButton() const { return playButton; }
  wxSlider* GetSlider() const { return slider; }
  wxStaticText* GetPositionText() const { return positionText; }

 private:
  void OnPlayPause(wxCommandEvent& event);
  void OnSlider(wxCommandEvent& event);
  void OnMediaLoaded(wxMediaEvent& event);
  void OnMediaFinished(wxMediaEvent& event);
  void OnTick(wxTimerEvent& event);
  /// Brings the controls in line with the media control's state and position.
  void ShowState();
  /// Nothing loaded: greyed controls at 0.
  void ShowEmpty();

  wxMediaCtrl* media;
  wxButton* playButton = nullptr;
  wxSlider* slider = nullptr;
  wxStaticText* positionText = nullptr;
  wxTimer ticker;
  bool loaded = false;
  bool lengthKnown = false;         ///< the backend has told the source's length
  wxFileOffset position = 0;        ///< last position seen while not stopped, ms
  wxFileOffset seekAfterLoad = -1;  ///< where to go once a reload is ready, ms
};
