// The panel: every control's id, label or value, tooltip, state, and the
// member that keeps it; the hidden groups; the numeric filter.
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/grid.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/valtext.h>

#include "AppTestSupport.h"

namespace {

enum Kind { kText, kButton, kCheck, kLabel };

struct ControlCase {
  wxWindow* member;
  int id;
  Kind kind;
  const char* value;  ///< label of buttons, check boxes and labels; text of fields
  const char* tooltip;
  bool enabled;
  bool shown;
  bool ticked;
};

wxString LabelOrValue(wxWindow* window, Kind kind) {
  if (kind == kText) return static_cast<wxTextCtrl*>(window)->GetValue();
  return window->GetLabel();
}

class PanelTest : public AppTest {};

TEST_F(PanelTest, EveryControlStartsAsBuilt) {
  BuildQuietFrame();
  mainFrame* f = frame;
  const std::vector<ControlCase> cases = {
      {f->inputPathText, 10003, kText, "", "Input video path", true, true, false},
      {f->inputBrowseButton, 10004, kButton, "Browse", "Locate your source video file", true, true, false},
      {f->outputPathText, 10005, kText, "", "Ostrel output path", true, true, false},
      {f->outputBrowseButton, 10006, kButton, "Browse", "Locate the target for you Ostrel file", true, true, false},
      {f->widthText, 10039, kText, "0", "", false, true, false},
      {f->heightText, 10040, kText, "0", "", false, true, false},
      {f->durationText, 10041, kText, "00:00:00", "", false, true, false},
      {f->fpsText, 10048, kText, "00.00", "", false, true, false},
      {f->audioChannelsText, 10049, kText, "Stereo", "", false, true, false},
      {f->audioSampleRateText, 10050, kText, "0", "", false, true, false},
      {f->startTimeText, 10011, kText, "0", "Start encoding at (n) seconds", true, true, false},
      {f->setStartButton, 10036, kButton, "Set", "", true, true, false},
      {f->endTimeText, 10012, kText, "0", "End encoding at (n) seconds; 0 means End of File", true, true, false},
      {f->setEndButton, 10038, kButton, "Set", "", true, true, false},
      {f->cropTopText, 10002, kText, "0", "Cut Top (n) pixels ", true, true, false},
      {f->cropRightText, 10009, kText, "0", "Cut Right (n) pixels ", true, true, false},
      {f->cropLeftText, 10008, kText, "0", "Cut Left (n) pixels ", true, true, false},
      {f->cropBottomText, 10007, kText, "0", "Cut Bottom (n) pixels ", true, true, false},
      {f->clearButton, 10013, kButton, "Clear", "Clear the selected row/s", true, true, false},
      {f->saveDefaultButton, 10055, kButton, "Save", "Save streams settings as default", true, true, false},
      {f->loadDefaultButton, 10054, kButton, "Default", "Load default streams settings", true, true, false},
      {f->resetButton, 10014, kButton, "Reset", "Reset to factory streams settings", true, true, false},
      {f->aspectRatioCheck, 10022, kCheck, "Maintain Aspect Ratio", "Maintain Aspect Ratio as original source video",
       true, true, true},
      {f->sourceDimensionCheck, 10045, kCheck, "Maintain Source Dimension",
       "Maintain dimension as original source video", false, true, false},
      {f->deinterlaceCheck, 10010, kCheck, "Deinterlace", "Reduce interlacing effects (interpolation)", true, true,
       false},
      {f->manageIisCheck, 10066, kCheck, "Manage IIS", "manage file extension for web server iis", true, true, false},
      {f->htmlPageCheck, 10042, kCheck, "Generate HTML page", "Generate HTML page ready for surfing", true, true, true},
      {f->showVideoCheck, 10043, kCheck, "Show video", "Show video inside the generate HTML page", true, true, false},
      {f->graphicToolbarCheck, 10056, kCheck, "Graphic Toolbar", "Generate graphic Toobar using JPG image", true, true,
       false},
      {f->secureCheck, 10030, kCheck, "Secure this video", "Video will be crypted according to security file manager",
       true, false, false},
      {f->statusText, 10031, kLabel, "0 Stream(s) : Done 0 %", "", true, true, false},
      {f->elapsedText, 10051, kLabel, "00:00:00", "", true, true, false},
      {f->remainingText, 10057, kLabel, "00:00:00", "", true, true, false},
      {f->totalText, 10059, kLabel, "00:00:00", "", true, true, false},
      {f->encodeButton, 10060, kButton, "Encode", "Encode the selected streams", true, true, false},
      {f->runningCheck, 10061, kCheck, "Checkbox", "", true, false, false},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.id) + " " + c.value);
    ASSERT_NE(c.member, nullptr);
    EXPECT_EQ(c.member->GetId(), c.id);
    EXPECT_EQ(c.member->GetParent(), f->panel);
    EXPECT_EQ(wxWindow::FindWindowById(c.id, f->panel), c.member);
    EXPECT_EQ(LabelOrValue(c.member, c.kind), c.value);
    const wxToolTip* tip = c.member->GetToolTip();
    EXPECT_EQ(tip ? tip->GetTip() : wxString(), c.tooltip);
    EXPECT_EQ(c.member->IsThisEnabled(), c.enabled);
    EXPECT_EQ(c.member->IsShown(), c.shown);
    if (c.kind == kCheck) {
      EXPECT_EQ(static_cast<wxCheckBox*>(c.member)->GetValue(), c.ticked);
    }
  }
  EXPECT_EQ(f->panel->GetId(), ID_PANEL);
  EXPECT_EQ(f->panel->GetName(), "panel");
  EXPECT_EQ(f->progressGauge->GetId(), ID_GAUGE);
  EXPECT_EQ(f->progressGauge->GetRange(), 100);
  EXPECT_EQ(f->progressGauge->GetValue(), 0);
  EXPECT_EQ(f->streamsGrid->GetId(), ID_STREAMS_GRID);
  EXPECT_EQ(f->streamsGrid->GetNumberRows(), 9);
  EXPECT_EQ(f->streamsGrid->GetNumberCols(), 7);
}

TEST_F(PanelTest, LabelsAndGroupsReadAsWritten) {
  BuildQuietFrame();
  std::vector<wxString> labels, groups;
  for (wxWindow* child : frame->panel->GetChildren()) {
    if (auto* box = wxDynamicCast(child, wxStaticBox)) {
      groups.push_back(box->GetLabel());
    } else if (child->GetId() == wxID_STATIC && wxDynamicCast(child, wxStaticText)) {
      labels.push_back(child->GetLabel());
    }
  }
  EXPECT_EQ(groups, (std::vector<wxString>{"File information", "Video Information", "Time range (seconds)",
                                           "Crop (pixels)", "Audio Gain", "Encoding info"}));
  EXPECT_EQ(labels, (std::vector<wxString>{"Input", "Output", "Width:", "Height:", "Duration:", "Fps:",
                                           "Audio Channels:", "Audio Sample Rate:", "Video source", "Start Time       ",
                                           "End Time", "Top", "Right", "Left", "Bottom", "Available Streams"}));
  const std::vector<std::pair<int, const char*>> timeLabels = {
      {ID_ELAPSED_LABEL, "Elapsed Time:"}, {ID_REMAINING_LABEL, "Remaining Time:"}, {ID_TOTAL_LABEL, "Total Time:"}};
  for (const auto& [id, text] : timeLabels) {
    wxWindow* label = wxWindow::FindWindowById(id, frame->panel);
    ASSERT_NE(label, nullptr) << text;
    EXPECT_EQ(label->GetLabel(), text);
  }
}

// The sizes the controls take in the shown window (-1: left to the toolkit
// and the sizers); the window cannot be resized, so these fix the layout.
TEST_F(PanelTest, ControlsAreShownInTheirSizes) {
  BuildQuietFrame();
  mainFrame* f = frame;
  const std::vector<std::pair<wxWindow*, wxSize>> cases = {
      {f->inputPathText, {350, -1}},      {f->inputBrowseButton, {60, -1}}, {f->outputPathText, {350, -1}},
      {f->outputBrowseButton, {60, -1}},  {f->widthText, {60, -1}},         {f->heightText, {60, -1}},
      {f->durationText, {60, -1}},        {f->fpsText, {60, -1}},           {f->audioChannelsText, {60, -1}},
      {f->audioSampleRateText, {60, -1}}, {f->startTimeText, {49, -1}},     {f->endTimeText, {49, -1}},
      {f->setStartButton, {30, 20}},      {f->setEndButton, {30, 20}},      {f->cropTopText, {49, -1}},
      {f->cropRightText, {49, -1}},       {f->cropLeftText, {49, -1}},      {f->cropBottomText, {49, -1}},
      {f->audioGainSlider, {150, -1}},    {f->streamsGrid, {425, 245}},     {f->clearButton, {49, 19}},
      {f->saveDefaultButton, {49, 19}},   {f->loadDefaultButton, {49, 19}}, {f->resetButton, {49, 19}},
      {f->progressGauge, {-1, 20}},       {f->encodeButton, {60, -1}},
  };
  frame->Show();
  wxYield();
  for (const auto& [control, size] : cases) {
    SCOPED_TRACE(control->GetId());
    const wxSize shown = control->GetSize();
    if (size.x != -1) {
      EXPECT_EQ(shown.x, size.x);
    }
    if (size.y != -1) {
      EXPECT_EQ(shown.y, size.y);
    }
  }
}

TEST_F(PanelTest, SourceFactsAreGreyedBoldAndCannotTakeTheFocus) {
  BuildQuietFrame();
  for (wxTextCtrl* fact : {frame->widthText, frame->heightText, frame->durationText, frame->fpsText,
                           frame->audioChannelsText, frame->audioSampleRateText}) {
    SCOPED_TRACE(fact->GetId());
    EXPECT_FALSE(fact->IsEnabled());
    EXPECT_FALSE(fact->CanAcceptFocus());
    EXPECT_TRUE(fact->HasFlag(wxTE_RIGHT));
    EXPECT_EQ(fact->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  }
}

TEST_F(PanelTest, TheAudioGainGroupIsHiddenWithItsSlider) {
  BuildQuietFrame();
  ASSERT_NE(frame->audioGainSlider, nullptr);
  EXPECT_EQ(frame->audioGainSlider->GetId(), ID_AUDIO_GAIN);
  EXPECT_EQ(frame->audioGainSlider->GetValue(), 0);
  EXPECT_EQ(frame->audioGainSlider->GetMin(), -36);
  EXPECT_EQ(frame->audioGainSlider->GetMax(), 36);
  EXPECT_EQ(frame->audioGainSlider->GetToolTip()->GetTip(), "Increase or decrease audio gain");
  EXPECT_FALSE(frame->audioGainSlider->IsShown());
  EXPECT_FALSE(frame->audioGainSizer->GetStaticBox()->IsShown());
}

TEST_F(PanelTest, TheSixRangeFieldsRefuseTypedLetters) {
  BuildQuietFrame();
  frame->Show();
  frame->Raise();
  wxYield();
  for (wxTextCtrl* field : {frame->startTimeText, frame->endTimeText, frame->cropTopText, frame->cropRightText,
                            frame->cropLeftText, frame->cropBottomText}) {
    SCOPED_TRACE(field->GetId());
    const auto* validator = wxDynamicCast(field->GetValidator(), wxTextValidator);
    ASSERT_NE(validator, nullptr);
    EXPECT_TRUE(validator->HasFlag(wxFILTER_NUMERIC));

    // Clicked into first: without a window manager the keys go to the window
    // under the pointer.
    field->SetValue("");
    wxUIActionSimulator typist;
    const wxRect rect = field->GetScreenRect();
    typist.MouseMove(rect.GetLeft() + rect.GetWidth() / 2, rect.GetTop() + rect.GetHeight() / 2);
    wxYield();
    typist.MouseClick();
    wxYield();
    field->SetFocus();
    wxYield();
    typist.Text("1x2q");
    wxYield();
    EXPECT_EQ(field->GetValue(), "12");
  }
  // Pasted text is not filtered: the checks before an encode refuse it.
  frame->cropTopText->SetValue("abc");
  EXPECT_EQ(frame->cropTopText->GetValue(), "abc");
}

}  // namespace
