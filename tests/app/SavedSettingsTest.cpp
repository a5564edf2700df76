// Saved settings: the question, the 14 + 63 keys in their order in the
// configuration file itself, every field, tick and cell brought back, and the
// dependent boxes and column locks put in line after a load.
#include "AppTestSupport.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "StreamProfileRows.h"

namespace {

class SavedSettingsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    BuildQuietFrame();
  }
  void Menu(int id) { SendCommand(frame, wxEVT_MENU, id); }

  std::string ConfigFile() const { return GuiTestConfigDir() + "/ostrel-test.ini"; }

  std::vector<wxTextCtrl*> TextFields() const {
    return {frame->inputPathText, frame->outputPathText, frame->startTimeText,  frame->endTimeText,
            frame->cropTopText,   frame->cropRightText,  frame->cropBottomText, frame->cropLeftText};
  }
  std::vector<wxCheckBox*> Ticks() const {
    return {frame->deinterlaceCheck, frame->aspectRatioCheck, frame->sourceDimensionCheck,
            frame->htmlPageCheck,    frame->showVideoCheck,   frame->graphicToolbarCheck};
  }

  void FillWindow() {
    const std::vector<const char*> texts = {"/media/in put.avi", "/media/out.osq", "5", "0", "1", "2", "3", "4"};
    for (size_t i = 0; i < texts.size(); ++i) TextFields()[i]->ChangeValue(texts[i]);
    const std::vector<bool> ticks = {true, true, false, true, true, false};
    for (size_t i = 0; i < ticks.size(); ++i) Ticks()[i]->SetValue(ticks[i]);
  }

  void SaveAnswering(int answer) {
    wxTEST_DIALOG(Menu(ID_MENU_SAVE_SETTINGS), ExpectQuestion("Save current settings ?", "Ostrel", answer).NoDefault());
  }

  std::vector<wxString> Cells() const {
    std::vector<wxString> cells;
    for (int r = 0; r < kStreamRowCount; ++r)
      for (int c = 0; c < kStreamColumnCount; ++c) cells.push_back(frame->streamsGrid->GetCellValue(r, c));
    return cells;
  }
};

TEST_F(SavedSettingsTest, SaveAnsweredNoWritesNothing) {
  FillWindow();
  SaveAnswering(wxID_NO);
  EXPECT_FALSE(wxConfigBase::Get()->HasGroup("/Controls"));
  EXPECT_EQ(ReadWholeFile(ConfigFile()).find("[Controls"), std::string::npos);
}

TEST_F(SavedSettingsTest, SaveWritesEveryKeyInOrder) {
  FillWindow();
  SaveAnswering(wxID_YES);
  const std::string file = ReadWholeFile(ConfigFile());
  const size_t start = file.find("[Controls]");
  ASSERT_NE(start, std::string::npos) << file;
  const std::string expected = ReadWholeFile(std::string(OSTREL_SOURCE_DIR) + "/tests/app/expected/saved_settings.ini");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(file.substr(start), expected);
}

TEST_F(SavedSettingsTest, LoadBringsBackEveryFieldTickAndCell) {
  FillWindow();
  frame->streamsGrid->SetCellValue(6, kColumnWidth, "100");  // a row without a name
  const std::vector<wxString> cellsSaved = Cells();
  SaveAnswering(wxID_YES);

  // Everything changed after the save.
  for (wxTextCtrl* field : TextFields()) field->ChangeValue("changed");
  for (wxCheckBox* box : Ticks()) box->SetValue(!box->GetValue());
  for (int r = 0; r < kStreamRowCount; ++r)
    for (int c = 0; c < kStreamColumnCount; ++c) frame->streamsGrid->SetCellValue(r, c, "x");

  EXPECT_NO_DIALOG(Menu(ID_MENU_LOAD_SETTINGS));
  const std::vector<const char*> texts = {"/media/in put.avi", "/media/out.osq", "5", "0", "1", "2", "3", "4"};
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(TextFields()[i]->GetValue(), texts[i]) << i;
  const std::vector<bool> ticks = {true, true, false, true, true, false};
  for (size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(Ticks()[i]->GetValue(), ticks[i]) << i;
  EXPECT_EQ(Cells(), cellsSaved);
}

// Settings saved by hand or by another version, with one key only: every
// missing key gives its default. (With nothing saved at all the window says
// so and changes nothing.)
TEST_F(SavedSettingsTest, LoadingSettingsWithMissingKeysGivesTheDefaults) {
  wxConfigBase::Get()->Write("/Controls/videoStart", "0");
  FillWindow();
  frame->sourceDimensionCheck->Enable();
  frame->aspectRatioCheck->SetValue(false);
  frame->sourceDimensionCheck->SetValue(true);
  frame->UpdateSourceDimensionColumns();
  Menu(ID_TOOL_LOAD_SETTINGS);

  const std::vector<const char*> texts = {"", "", "0", "0", "0", "0", "0", "0"};
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(TextFields()[i]->GetValue(), texts[i]) << i;
  for (wxCheckBox* box : Ticks()) EXPECT_FALSE(box->GetValue()) << box->GetLabel();
  for (const wxString& cell : Cells()) EXPECT_TRUE(cell.empty());
  // Without a page its two boxes are off; with neither size box both can be
  // ticked and no column is locked.
  EXPECT_FALSE(frame->showVideoCheck->IsEnabled());
  EXPECT_FALSE(frame->graphicToolbarCheck->IsEnabled());
  EXPECT_TRUE(frame->aspectRatioCheck->IsEnabled());
  EXPECT_TRUE(frame->sourceDimensionCheck->IsEnabled());
  EXPECT_FALSE(frame->streamsGrid->IsReadOnly(0, kColumnWidth));
  EXPECT_FALSE(frame->streamsGrid->IsReadOnly(0, kColumnHeight));
}

// A save the configuration could not write out is told, not passed off as
// done: here the configuration's folder does not exist.
TEST_F(SavedSettingsTest, ASaveThatCannotBeWrittenIsTold) {
  const std::string missing = GuiTestConfigDir() + "/no such folder/ostrel.ini";
  delete wxConfigBase::Set(new wxFileConfig("Ostrel 3", "Harwelco", missing, wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
  wxString said;
  wxTEST_DIALOG(Menu(ID_MENU_SAVE_SETTINGS), ExpectQuestion("Save current settings ?", "Ostrel", wxID_YES).NoDefault(),
                ExpectMessage("The settings could not be saved", wxID_OK).Prefix().SaveText(&said));
  EXPECT_FALSE(said.empty());
  ResetTestConfig();
}

TEST_F(SavedSettingsTest, LoadedTicksBringTheirDependentsInLine) {
  wxConfigBase* config = wxConfigBase::Get();
  struct Case {
    const char* name;
    bool aspect, sourceSize, page;
    bool aspectEnabled, sourceSizeEnabled, widthLocked, heightLocked, pageBoxesEnabled;
  };
  const std::vector<Case> cases = {
      {"aspect ratio", true, false, true, true, false, false, true, true},
      {"source dimension", false, true, false, false, true, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The window in the opposite state first.
    frame->htmlPageCheck->SetValue(!c.page);
    frame->showVideoCheck->Enable(!c.page);
    frame->graphicToolbarCheck->Enable(!c.page);
    frame->aspectRatioCheck->Enable(!c.aspectEnabled);
    frame->sourceDimensionCheck->Enable(!c.sourceSizeEnabled);

    config->Write("/Controls/mAspectRatio", c.aspect);
    config->Write("/Controls/mSourceDimension", c.sourceSize);
    config->Write("/Controls/generateHTMLpage", c.page);
    Menu(ID_MENU_LOAD_SETTINGS);
    EXPECT_EQ(frame->aspectRatioCheck->IsEnabled(), c.aspectEnabled);
    EXPECT_EQ(frame->sourceDimensionCheck->IsEnabled(), c.sourceSizeEnabled);
    EXPECT_EQ(frame->streamsGrid->IsReadOnly(3, kColumnWidth), c.widthLocked);
    EXPECT_EQ(frame->streamsGrid->IsReadOnly(3, kColumnHeight), c.heightLocked);
    EXPECT_EQ(frame->showVideoCheck->IsEnabled(), c.pageBoxesEnabled);
    EXPECT_EQ(frame->graphicToolbarCheck->IsEnabled(), c.pageBoxesEnabled);
  }
}

// The loaded input path goes through the field's text event, as typing does,
// so the source is probed.
TEST_F(SavedSettingsTest, LoadedInputPathRaisesTheFieldsTextEvent) {
  std::vector<wxString> seen;
  frame->inputPathText->Bind(wxEVT_TEXT, [&](wxCommandEvent& event) {
    seen.push_back(event.GetString());
    event.Skip();
  });
  wxConfigBase::Get()->Write("/Controls/inputVideo", "/media/source.avi");
  Menu(ID_MENU_LOAD_SETTINGS);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), "/media/source.avi");
}

// Stored values are not validated on the way in: nonsense comes back as it
// was saved, for the checks before an encode to refuse.
TEST_F(SavedSettingsTest, ValuesAreLoadedUnvalidated) {
  wxConfigBase* config = wxConfigBase::Get();
  config->Write("/Controls/videoStart", "-5x");
  config->Write("/Controls/videoCropTop", "a lot");
  config->Write("/Controls/encode0/width", "wide");
  config->Write("/Controls/encode0/encode", "maybe");
  Menu(ID_MENU_LOAD_SETTINGS);
  EXPECT_EQ(frame->startTimeText->GetValue(), "-5x");
  EXPECT_EQ(frame->cropTopText->GetValue(), "a lot");
  EXPECT_EQ(frame->streamsGrid->GetCellValue(0, kColumnWidth), "wide");
  EXPECT_EQ(frame->streamsGrid->GetCellValue(0, kColumnEncode), "maybe");
}

}  // namespace
