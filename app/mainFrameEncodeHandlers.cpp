// The source, output, preview and encode commands of the main window: each
// hands the window's controls to the encode control, which does the work.
#include <wx/mediactrl.h>
#include <wx/textctrl.h>

#include "abstractMainFrame.h"
#include "mainFrame.h"

namespace {

EncodeWindow EncodeWindowOf(mainFrame& frame) {
  EncodeWindow window;
  window.frame = &frame;
  window.input = frame.inputPathText;
  window.output = frame.outputPathText;
  window.startTime = frame.startTimeText;
  window.endTime = frame.endTimeText;
  window.cropTop = frame.cropTopText;
  window.cropRight = frame.cropRightText;
  window.cropLeft = frame.cropLeftText;
  window.cropBottom = frame.cropBottomText;
  window.keepAspect = frame.aspectRatioCheck;
  window.keepSourceSize = frame.sourceDimensionCheck;
  window.deinterlace = frame.deinterlaceCheck;
  window.htmlPage = frame.htmlPageCheck;
  window.graphicToolbar = frame.graphicToolbarCheck;
  window.showVideo = frame.showVideoCheck;
  window.running = frame.runningCheck;
  window.grid = frame.streamsGrid;
  window.elapsed = frame.elapsedText;
  window.remaining = frame.remainingText;
  window.total = frame.totalText;
  window.status = frame.statusText;
  window.gauge = frame.progressGauge;
  window.encodeButton = frame.encodeButton;
  window.media = frame.mediaCtrl;
  return window;
}

}  // namespace

void mainFrame::OnEncodeSelected(wxCommandEvent&) { OnEncode(); }

void mainFrame::OnInputPathChanged(wxCommandEvent&) {
  encodeControl.ProbeSource(widthText, heightText, durationText, fpsText, audioChannelsText, audioSampleRateText,
                            inputPathText, encodeButton, mediaCtrl, this);
}

void mainFrame::OnSelectInput(wxCommandEvent&) { encodeControl.ChooseSourceFile(inputPathText, outputPathText, this); }

void mainFrame::OnSelectOutput(wxCommandEvent&) { encodeControl.ChooseOutputFile(outputPathText, this); }

void mainFrame::OnMediaLoaded(wxMediaEvent&) { encodeControl.OnMediaLoaded(mediaCtrl); }

void mainFrame::OnEncode() { encodeControl.OnEncode(EncodeWindowOf(*this)); }

void mainFrame::SetEncodeUiRunning() { encodeControl.SetEncodeUiRunning(EncodeWindowOf(*this)); }

void mainFrame::ResetEncodeUi() { encodeControl.ResetEncodeUi(EncodeWindowOf(*this)); }
