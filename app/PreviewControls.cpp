// The preview's player controls.
#include "PreviewControls.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/mediactrl.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>

#include "ClockText.h"

namespace {

constexpr int kTickMilliseconds = 200;

wxString ClockOf(wxFileOffset milliseconds) { return wxString(FormatHMS(static_cast<int>(milliseconds / 1000))); }

}  // namespace

PreviewControls::PreviewControls(wxWindow* parent, wxMediaCtrl* media)
    : wxPanel(parent, wxID_ANY), media(media), ticker(this) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  SetSizer(row);
  playButton = new wxButton(this, wxID_ANY, _("Play"), wxDefaultPosition, wxSize(60, -1));
  playButton->SetToolTip(_("Play or pause the preview"));
  row->Add(playButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, 2);
  slider = new wxSlider(this, wxID_ANY, 0, 0, 1, wxDefaultPosition, wxDefaultSize, wxSL_HORIZONTAL);
  slider->SetToolTip(_("Move to a position of the source"));
  row->Add(slider, 1, wxALIGN_CENTER_VERTICAL | wxALL, 2);
  positionText = new wxStaticText(this, wxID_ANY, "00:00:00 / 00:00:00");
  row->Add(positionText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 2);

  playButton->Bind(wxEVT_BUTTON, &PreviewControls::OnPlayPause, this);
  slider->Bind(wxEVT_SLIDER, &PreviewControls::OnSlider, this);
  Bind(wxEVT_TIMER, &PreviewControls::OnTick, this);
  if (media) {
    // Skipped on: the main window holds the preview paused when it is loaded.
    media->Bind(wxEVT_MEDIA_LOADED, &PreviewControls::OnMediaLoaded, this);
    media->Bind(wxEVT_MEDIA_FINISHED, &PreviewControls::OnMediaFinished, this);
  }
  ShowEmpty();
}

PreviewControls* PreviewControls::Of(wxMediaCtrl* media) {
  if (!media || !media->GetParent()) return nullptr;
  for (wxWindow* sibling : media->GetParent()->GetChildren()) {
    auto* controls = dynamic_cast<PreviewControls*>(sibling);
    if (controls && controls->media == media) return controls;
  }
  return nullptr;
}

void PreviewControls::LoadSource(wxMediaCtrl* media, const wxString& path) {
  if (!media) return;
  PreviewControls* controls = Of(media);
  if (controls) {
    controls->loaded = false;
    controls->lengthKnown = false;
    controls->position = 0;
    controls->seekAfterLoad = -1;
    controls->ShowEmpty();
  }
  // Played so that the backend prerolls; the loaded event pauses it at once.
  if (media->Load(path)) {
    media->Play();
    return;
  }
  // The old source's picture must not stand for the refused one.
  media->Stop();
}

void PreviewControls::ShowSourceAgain(wxMediaCtrl* media) {
  PreviewControls* controls = Of(media);
  if (!controls || !controls->loaded) return;
  // A stop took the source out of the backend: pausing brings it back to
  // its first picture, and the seek to where it was once it is there.
  controls->seekAfterLoad = controls->position;
  media->Pause();
  if (media->Seek(controls->position) != wxInvalidOffset) controls->seekAfterLoad = -1;
  controls->ShowState();
}

void PreviewControls::OnPlayPause(wxCommandEvent&) {
  if (!media || !loaded) return;
  // The backend changes state a moment later: the label follows the request.
  const bool play = media->GetState() != wxMEDIASTATE_PLAYING;
  if (play) {
    media->Play();
  } else {
    media->Pause();
  }
  playButton->SetLabel(play ? _("Pause") : _("Play"));
}

void PreviewControls::OnSlider(wxCommandEvent&) {
  if (!media || !loaded) return;
  position = slider->GetValue();
  media->Seek(position);
  positionText->SetLabel(ClockOf(position) + " / " + ClockOf(media->Length()));
}

void PreviewControls::OnMediaLoaded(wxMediaEvent& event) {
  event.Skip();
  loaded = true;
  playButton->Enable();
  slider->Enable();
  if (seekAfterLoad >= 0) {
    media->Seek(seekAfterLoad);
    seekAfterLoad = -1;
  }
  ticker.Start(kTickMilliseconds);
  ShowState();
}

// At the end the backend stops, which blanks the picture: back to the start,
// paused, ready to play again.
void PreviewControls::OnMediaFinished(wxMediaEvent& event) {
  event.Skip();
  position = 0;
  media->Pause();
  media->Seek(0);
  ShowState();
}

void PreviewControls::OnTick(wxTimerEvent&) {
  // A source the backend could not play ends stopped without ever having had
  // a length: there is nothing to play or move through. (A run's stop
  // clears the length too, of a source that had one.)
  if (loaded && !lengthKnown && media->GetState() == wxMEDIASTATE_STOPPED) {
    loaded = false;
    ShowEmpty();
    return;
  }
  ShowState();
}

void PreviewControls::ShowState() {
  if (!media || !loaded) return;
  const wxMediaState state = media->GetState();
  // A stopped preview (during a run) reports 0: where it was is kept.
  if (state != wxMEDIASTATE_STOPPED && seekAfterLoad < 0) {
    const wxFileOffset now = media->Tell();
    if (now >= 0) position = now;
  }
  const wxFileOffset length = media->Length();
  if (length > 0) lengthKnown = true;
  const int last = length > 0 ? static_cast<int>(length) : 1;
  if (slider->GetMax() != last) slider->SetRange(0, last);
  slider->SetValue(static_cast<int>(std::min<wxFileOffset>(position, last)));
  positionText->SetLabel(ClockOf(position) + " / " + ClockOf(length > 0 ? length : 0));
  playButton->SetLabel(state == wxMEDIASTATE_PLAYING ? _("Pause") : _("Play"));
}

void PreviewControls::ShowEmpty() {
  ticker.Stop();
  playButton->SetLabel(_("Play"));
  playButton->Disable();
  slider->SetRange(0, 1);
  slider->SetValue(0);
  slider->Disable();
  positionText->SetLabel("00:00:00 / 00:00:00");
}
