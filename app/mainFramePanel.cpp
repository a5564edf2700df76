// The main window's panel: every field, the preview, the streams grid with
// its buttons, the options and the progress area.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/mediactrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include "PreviewControls.h"
#include "mainFrame.h"

namespace {

wxString& MediaBackendName() {
  static wxString name;
  return name;
}

wxFont BoldFont() { return wxFont(8, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false, "Tahoma"); }

// A caption in the window's dark blue, bold.
wxStaticText* Heading(wxWindow* parent, const wxString& text) {
  auto* label = new wxStaticText(parent, wxID_STATIC, text);
  label->SetForegroundColour(wxColour(0, 0, 128));
  label->SetFont(BoldFont());
  return label;
}

wxStaticText* Label(wxWindow* parent, const wxString& text, wxWindowID id = wxID_STATIC) {
  return new wxStaticText(parent, id, text);
}

// One of the six source facts: greyed, filled only by the probe.
wxTextCtrl* SourceFact(wxWindow* parent, wxWindowID id, const wxString& value) {
  auto* field = new wxTextCtrl(parent, id, value, wxDefaultPosition, wxSize(60, -1), wxTE_RIGHT);
  field->SetFont(BoldFont());
  field->Disable();
  return field;
}

wxTextCtrl* NumberField(wxWindow* parent, wxWindowID id, const wxString& tooltip) {
  auto* field = new wxTextCtrl(parent, id, "0", wxDefaultPosition, wxSize(49, -1), wxTE_RIGHT);
  field->SetToolTip(tooltip);
  return field;
}

wxButton* Button(wxWindow* parent, wxWindowID id, const wxString& label, const wxSize& size,
                 const wxString& tooltip = wxString()) {
  auto* button = new wxButton(parent, id, label, wxDefaultPosition, size);
  if (!tooltip.empty()) button->SetToolTip(tooltip);
  return button;
}

wxCheckBox* Check(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& tooltip, bool ticked) {
  auto* box = new wxCheckBox(parent, id, label);
  box->SetToolTip(tooltip);
  box->SetValue(ticked);
  return box;
}

}  // namespace

void mainFrame::SetMediaBackend(const wxString& className) { MediaBackendName() = className; }

void mainFrame::BuildPanel() {
  const int b = 5;  // the border around every item
  panel = new wxPanel(this, ID_PANEL, wxDefaultPosition, wxDefaultSize, wxSUNKEN_BORDER | wxTAB_TRAVERSAL, "panel");
  auto* panelSizer = new wxBoxSizer(wxVERTICAL);
  panel->SetSizer(panelSizer);

  // ---- Top band: File information, Video Information ----
  auto* topBand = new wxBoxSizer(wxHORIZONTAL);
  panelSizer->Add(topBand, 0, wxGROW | wxALL, b);

  auto* fileBox = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("File information")), wxVERTICAL);
  topBand->Add(fileBox, 0, wxALIGN_TOP | wxALL, b);
  auto* fileGrid = new wxFlexGridSizer(2, 3, 0, 0);
  fileBox->Add(fileGrid, 0, wxALL, 0);
  fileGrid->Add(Label(panel, _("Input")), 0, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, b);
  inputPathText = new wxTextCtrl(panel, ID_INPUT_PATH, wxEmptyString, wxDefaultPosition, wxSize(350, -1));
  inputPathText->SetToolTip(_("Input video path"));
  fileGrid->Add(inputPathText, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  inputBrowseButton = Button(panel, ID_INPUT_BROWSE, _("Browse"), wxSize(60, -1), _("Locate your source video file"));
  fileGrid->Add(inputBrowseButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  fileGrid->Add(Label(panel, _("Output")), 0, wxALIGN_LEFT | wxALIGN_CENTER_VERTICAL | wxALL, b);
  outputPathText = new wxTextCtrl(panel, ID_OUTPUT_PATH, wxEmptyString, wxDefaultPosition, wxSize(350, -1));
  outputPathText->SetToolTip(_("Ostrel output path"));
  fileGrid->Add(outputPathText, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  outputBrowseButton =
      Button(panel, ID_OUTPUT_BROWSE, _("Browse"), wxSize(60, -1), _("Locate the target for you Ostrel file"));
  fileGrid->Add(outputBrowseButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);

  topBand->Add(5, 5, 1, wxALL, 0);

  auto* infoBox = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("Video Information")), wxHORIZONTAL);
  topBand->Add(infoBox, 0, wxALIGN_TOP | wxALL, b);
  auto* infoLeft = new wxFlexGridSizer(3, 2, 0, 0);
  auto* infoRight = new wxFlexGridSizer(3, 2, 0, 0);
  infoBox->Add(infoLeft, 0, wxALL, 0);
  infoBox->Add(infoRight, 0, wxALL, 0);
  const auto fact = [&](wxFlexGridSizer* grid, const wxString& label, wxWindowID id, const wxString& value) {
    grid->Add(Label(panel, label), 0, wxALIGN_RIGHT | wxALIGN_CENTER_VERTICAL | wxALL, 3);
    wxTextCtrl* field = SourceFact(panel, id, value);
    grid->Add(field, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    return field;
  };
  widthText = fact(infoLeft, _("Width:"), ID_SOURCE_WIDTH, "0");
  heightText = fact(infoLeft, _("Height:"), ID_SOURCE_HEIGHT, "0");
  durationText = fact(infoLeft, _("Duration:"), ID_SOURCE_DURATION, "00:00:00");
  fpsText = fact(infoRight, _("Fps:"), ID_SOURCE_FPS, "00.00");
  audioChannelsText = fact(infoRight, _("Audio Channels:"), ID_SOURCE_CHANNELS, _("Stereo"));
  audioSampleRateText = fact(infoRight, _("Audio Sample Rate:"), ID_SOURCE_SAMPLE_RATE, "0");

  // ---- Two columns: preview and ranges left, streams and encoding right ----
  auto* columns = new wxFlexGridSizer(1, 3, 0, 0);
  columns->AddGrowableRow(0);
  columns->AddGrowableCol(0);
  panelSizer->Add(columns, 1, wxGROW | wxALL, b);

  auto* left = new wxBoxSizer(wxVERTICAL);
  columns->Add(left, 1, wxGROW | wxALL, b);
  left->Add(Heading(panel, _("Video source")), 0, wxALIGN_LEFT | wxALL, b);
  previewSizer = new wxBoxSizer(wxVERTICAL);
  left->Add(previewSizer, 1, wxSHAPED | wxALIGN_CENTER_HORIZONTAL | wxALL, 4);

  auto* rangeRow = new wxBoxSizer(wxHORIZONTAL);
  left->Add(rangeRow, 0, wxALIGN_LEFT | wxALL, 0);

  auto* timeBox = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("Time range (seconds)")), wxVERTICAL);
  rangeRow->Add(timeBox, 0, wxALIGN_TOP | wxALL, b);
  auto* timeGrid = new wxFlexGridSizer(2, 3, 0, 0);
  timeBox->Add(timeGrid, 0, wxALL, 0);
  startTimeText = NumberField(panel, ID_START_TIME, _("Start encoding at (n) seconds"));
  timeGrid->Add(startTimeText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  timeGrid->Add(Label(panel, _("Start Time       ")), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  setStartButton = Button(panel, ID_SET_START, _("Set"), wxSize(30, 20));
  timeGrid->Add(setStartButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  endTimeText = NumberField(panel, ID_END_TIME, _("End encoding at (n) seconds; 0 means End of File"));
  timeGrid->Add(endTimeText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  timeGrid->Add(Label(panel, _("End Time")), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  setEndButton = Button(panel, ID_SET_END, _("Set"), wxSize(30, 20));
  timeGrid->Add(setEndButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);

  auto* cropBox = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("Crop (pixels)")), wxVERTICAL);
  rangeRow->Add(cropBox, 0, wxALIGN_TOP | wxALL, b);
  auto* cropGrid = new wxFlexGridSizer(2, 4, 0, 0);
  cropBox->Add(cropGrid, 0, wxALL, 0);
  const auto crop = [&](wxWindowID id, const wxString& tooltip, const wxString& label) {
    wxTextCtrl* field = NumberField(panel, id, tooltip);
    cropGrid->Add(field, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    cropGrid->Add(Label(panel, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    return field;
  };
  cropTopText = crop(ID_CROP_TOP, _("Cut Top (n) pixels "), _("Top"));
  cropRightText = crop(ID_CROP_RIGHT, _("Cut Right (n) pixels "), _("Right"));
  cropLeftText = crop(ID_CROP_LEFT, _("Cut Left (n) pixels "), _("Left"));
  cropBottomText = crop(ID_CROP_BOTTOM, _("Cut Bottom (n) pixels "), _("Bottom"));

  audioGainSizer = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("Audio Gain")), wxHORIZONTAL);
  left->Add(audioGainSizer, 0, wxALIGN_LEFT | wxALL, b);
  audioGainSlider = new wxSlider(panel, ID_AUDIO_GAIN, 0, -36, 36, wxDefaultPosition, wxSize(150, -1),
                                 wxSL_HORIZONTAL | wxSL_AUTOTICKS | wxSL_LABELS | wxSL_TOP);
  audioGainSlider->SetToolTip(_("Increase or decrease audio gain"));
  audioGainSizer->Add(audioGainSlider, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);

  auto* right = new wxBoxSizer(wxVERTICAL);
  columns->Add(right, 0, wxALIGN_TOP | wxALL, b);
  right->Add(Heading(panel, _("Available Streams")), 0, wxALIGN_LEFT | wxALL, b);
  streamsSizer = new wxBoxSizer(wxHORIZONTAL);
  right->Add(streamsSizer, 0, wxALIGN_LEFT | wxALL, 0);
  streamsGrid = new wxGrid(panel, ID_STREAMS_GRID, wxDefaultPosition, wxSize(425, 245), wxSUNKEN_BORDER | wxHSCROLL);
  streamsGrid->SetDefaultColSize(50);
  streamsGrid->SetDefaultRowSize(22);
  streamsGrid->SetColLabelSize(30);
  streamsGrid->SetRowLabelSize(15);
  streamsGrid->CreateGrid(9, 7, wxGrid::wxGridSelectCells);
  streamsSizer->Add(streamsGrid, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);

  streamButtonsSizer = new wxBoxSizer(wxHORIZONTAL);
  right->Add(streamButtonsSizer, 0, wxALIGN_LEFT | wxALL, 0);
  const wxSize small(49, 19);
  clearButton = Button(panel, ID_CLEAR_ROWS, _("Clear"), small, _("Clear the selected row/s"));
  streamButtonsSizer->Add(clearButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  saveDefaultButton = Button(panel, ID_SAVE_DEFAULT_STREAMS, _("Save"), small, _("Save streams settings as default"));
  streamButtonsSizer->Add(saveDefaultButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  streamButtonsSizer->Add(185, 5, 0, wxALIGN_CENTER_VERTICAL | wxALL, 0);
  loadDefaultButton = Button(panel, ID_LOAD_DEFAULT_STREAMS, _("Default"), small, _("Load default streams settings"));
  streamButtonsSizer->Add(loadDefaultButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);
  resetButton = Button(panel, ID_RESET_STREAMS, _("Reset"), small, _("Reset to factory streams settings"));
  streamButtonsSizer->Add(resetButton, 0, wxALIGN_CENTER_VERTICAL | wxALL, b);

  auto* options = new wxBoxSizer(wxHORIZONTAL);
  right->Add(options, 0, wxALIGN_LEFT | wxALL, 0);
  auto* optionsLeft = new wxBoxSizer(wxVERTICAL);
  options->Add(optionsLeft, 0, wxALIGN_TOP | wxALL, 0);
  const int ob = 3;
  aspectRatioCheck = Check(panel, ID_ASPECT_RATIO, _("Maintain Aspect Ratio"),
                           _("Maintain Aspect Ratio as original source video"), true);
  optionsLeft->Add(aspectRatioCheck, 0, wxALIGN_LEFT | wxALL, ob);
  sourceDimensionCheck = Check(panel, ID_SOURCE_DIMENSION, _("Maintain Source Dimension"),
                               _("Maintain dimension as original source video"), false);
  optionsLeft->Add(sourceDimensionCheck, 0, wxALIGN_LEFT | wxALL, ob);
  deinterlaceCheck =
      Check(panel, ID_DEINTERLACE, _("Deinterlace"), _("Reduce interlacing effects (interpolation)"), false);
  optionsLeft->Add(deinterlaceCheck, 0, wxALIGN_LEFT | wxALL, ob);
  manageIisCheck = Check(panel, ID_MANAGE_IIS, _("Manage IIS"), _("manage file extension for web server iis"), false);
  manageIisCheck->SetHelpText(_("manage file extension for web server iis"));
  optionsLeft->Add(manageIisCheck, 0, wxALIGN_LEFT | wxALL, ob);
  options->Add(80, 5, 0, wxALL, 0);
  auto* optionsRight = new wxBoxSizer(wxVERTICAL);
  options->Add(optionsRight, 0, wxALIGN_TOP | wxALL, 0);
  htmlPageCheck = Check(panel, ID_HTML_PAGE, _("Generate HTML page"), _("Generate HTML page ready for surfing"), true);
  optionsRight->Add(htmlPageCheck, 0, wxALIGN_LEFT | wxALL, ob);
  showVideoCheck = Check(panel, ID_SHOW_VIDEO, _("Show video"), _("Show video inside the generate HTML page"), false);
  optionsRight->Add(showVideoCheck, 0, wxALIGN_LEFT | wxALL, ob);
  auto* toolbarRow = new wxBoxSizer(wxHORIZONTAL);
  optionsRight->Add(toolbarRow, 0, wxALIGN_LEFT | wxALL, 0);
  graphicToolbarCheck =
      Check(panel, ID_GRAPHIC_TOOLBAR, _("Graphic Toolbar"), _("Generate graphic Toobar using JPG image"), false);
  toolbarRow->Add(graphicToolbarCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, ob);
  secureCheck = Check(panel, ID_SECURE_VIDEO, _("Secure this video"),
                      _("Video will be crypted according to security file manager"), false);
  toolbarRow->Add(secureCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, ob);

  auto* encodingBox = new wxStaticBoxSizer(new wxStaticBox(panel, wxID_ANY, _("Encoding info")), wxVERTICAL);
  right->Add(encodingBox, 0, wxGROW | wxALL, b);
  statusText = new wxStaticText(panel, ID_STATUS_TEXT, _("0 Stream(s) : Done 0 %"));
  encodingBox->Add(statusText, 0, wxGROW | wxALL, 3);
  progressGauge = new wxGauge(panel, ID_GAUGE, 100, wxDefaultPosition, wxSize(-1, 20), wxGA_HORIZONTAL);
  progressGauge->SetValue(0);
  encodingBox->Add(progressGauge, 0, wxGROW | wxALL, 3);
  auto* timesRow = new wxBoxSizer(wxHORIZONTAL);
  encodingBox->Add(timesRow, 0, wxGROW | wxALL, 0);
  auto* times = new wxFlexGridSizer(3, 2, 0, 0);
  timesRow->Add(times, 0, wxALIGN_CENTER_VERTICAL | wxALL, 0);
  times->Add(Label(panel, _("Elapsed Time:"), ID_ELAPSED_LABEL), 0, wxALIGN_LEFT | wxALL, 3);
  elapsedText = Label(panel, "00:00:00", ID_ELAPSED_TIME);
  times->Add(elapsedText, 0, wxALIGN_LEFT | wxALL, 3);
  times->Add(Label(panel, _("Remaining Time:"), ID_REMAINING_LABEL), 0, wxALIGN_LEFT | wxALL, 3);
  remainingText = Label(panel, "00:00:00", ID_REMAINING_TIME);
  times->Add(remainingText, 0, wxALIGN_LEFT | wxALL, 3);
  times->Add(Label(panel, _("Total Time:"), ID_TOTAL_LABEL), 0, wxALIGN_LEFT | wxALL, 3);
  totalText = Label(panel, "00:00:00", ID_TOTAL_TIME);
  times->Add(totalText, 0, wxALIGN_LEFT | wxALL, 3);
  timesRow->Add(5, 5, 1, wxALL, 0);
  encodeButton = Button(panel, ID_ENCODE_BUTTON, _("Encode"), wxSize(60, -1), _("Encode the selected streams"));
  timesRow->Add(encodeButton, 0, wxALIGN_BOTTOM | wxALL, b);
  runningCheck = new wxCheckBox(panel, ID_RUNNING_FLAG, _("Checkbox"));
  runningCheck->SetValue(false);
  runningCheck->Hide();
  timesRow->Add(runningCheck, 0, wxALIGN_BOTTOM | wxALL, 0);

  // The filter refuses typed characters only; pasted text reaches the checks
  // before an encode, which reject anything but digits.
  for (wxTextCtrl* field : {startTimeText, endTimeText, cropTopText, cropRightText, cropLeftText, cropBottomText}) {
    field->SetValidator(wxTextValidator(wxFILTER_NUMERIC));
  }

  BuildMediaControl();
  CreateStreamsGrid();
  LoadDefaultStreams();

  sourceDimensionCheck->SetValue(false);
  sourceDimensionCheck->Disable();
  audioGainSizer->ShowItems(false);
  panelSizer->Layout();
}

// Without a media backend (no video sink, as under Xvfb) the window is built
// all the same: a blank of the preview's size holds its place, and the
// handlers that use the preview find no control.
void mainFrame::BuildMediaControl() {
  const wxSize size(400, 310);
  auto* media = new wxMediaCtrl;
  if (media->Create(panel, ID_MEDIA_CTRL, wxEmptyString, wxDefaultPosition, size, 0, MediaBackendName(),
                    wxDefaultValidator, "mediaCtrl")) {
    mediaCtrl = media;
    previewSizer->Add(mediaCtrl, 1, wxEXPAND | wxALL, 4);
    mediaCtrl->ShowPlayerControls(wxMEDIACTRLPLAYERCONTROLS_DEFAULT);
  } else {
    delete media;
    auto* blank = new wxPanel(panel, wxID_ANY, wxDefaultPosition, size, wxSUNKEN_BORDER);
    blank->SetBackgroundColour(*wxBLACK);
    previewSizer->Add(blank, 1, wxEXPAND | wxALL, 4);
  }
  // The backend shows no controls of its own: these stand in for them.
  previewSizer->Add(new PreviewControls(panel, mediaCtrl), 0, wxEXPAND | wxLEFT | wxRIGHT, 4);
}
