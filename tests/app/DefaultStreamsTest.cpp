// default_streams.xml beside the executable: saved and read through the XML
// layer; unusable files give the factory rows with their messages.
#include <wx/grid.h>

#include <filesystem>

#include "AppTestSupport.h"
#include "StreamProfileRows.h"

namespace {

class DefaultStreamsTest : public AppTest {
 protected:
  std::string FilePath() const { return programDir + "/default_streams.xml"; }

  StreamProfileRows GridRows() const {
    StreamProfileRows rows{};
    for (int row = 0; row < kStreamRowCount; ++row) {
      for (int col = 0; col < kStreamColumnCount; ++col) {
        rows[row][col] = std::string(frame->streamsGrid->GetCellValue(row, col).utf8_str());
      }
    }
    return rows;
  }

  void SetRow(int row, const StreamProfileRow& cells) {
    for (int col = 0; col < kStreamColumnCount; ++col) {
      frame->streamsGrid->SetCellValue(row, col, wxString::FromUTF8(cells[col]));
    }
  }

  void ClearGrid() {
    for (int row = 0; row < kStreamRowCount; ++row) SetRow(row, StreamProfileRow{});
  }

  std::string StreamXml(const std::string& name, const std::string& extra = "") {
    return "<STREAM><encode>1</encode><name>" + name +
           "</name><width>320</width><height>240</height><fps>25</fps><video_br>256</video_br>"
           "<audio_br>40</audio_br>" +
           extra + "</STREAM>";
  }
};

TEST_F(DefaultStreamsTest, FactoryRowsSaveAsTheShippedFileAndReadBack) {
  BuildQuietFrame();
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());

  std::filesystem::remove(FilePath());
  EXPECT_NO_DIALOG(frame->SaveDefaultStreams());
  EXPECT_EQ(ReadWholeFile(FilePath()), ReadWholeFile(ShippedDefaultStreamsPath()));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(programDir));

  ClearGrid();
  EXPECT_NO_DIALOG(frame->LoadDefaultStreams());
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());
}

TEST_F(DefaultStreamsTest, OnlyNamedRowsAreWrittenAndReadBackFromTheTop) {
  BuildQuietFrame();
  ClearGrid();
  SetRow(2, {"1", "Two", "320", "256", "12.5", "256", "40"});
  SetRow(5, {"", "Five & <more>", "", "", "", "", ""});
  SetRow(7, {"1", "", "640", "480", "25", "900", "96"});  // no name: not in use
  EXPECT_NO_DIALOG(frame->SaveDefaultStreams());

  const std::string text = ReadWholeFile(FilePath());
  EXPECT_NE(text.find("<name>Five &amp; &lt;more&gt;</name>"), std::string::npos) << text;
  EXPECT_NE(text.find("<encode/>"), std::string::npos) << text;
  EXPECT_EQ(text.find("640"), std::string::npos) << text;

  ClearGrid();
  EXPECT_NO_DIALOG(frame->LoadDefaultStreams());
  StreamProfileRows expected{};
  expected[0] = {"1", "Two", "320", "256", "12.5", "256", "40"};
  expected[1] = {"", "Five & <more>", "", "", "", "", ""};
  EXPECT_EQ(GridRows(), expected);
}

TEST_F(DefaultStreamsTest, UnloadableFilesGiveTheFactoryRows) {
  struct Case {
    const char* what;
    const char* content;  ///< null: no file at all
  };
  const std::vector<Case> cases = {
      {"missing", nullptr},
      {"empty", ""},
      {"no element at all", "just some words"},
  };
  BuildQuietFrame();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(FilePath());
    if (c.content) WriteWholeFile(FilePath(), c.content);
    ClearGrid();
    wxTEST_DIALOG(frame->LoadDefaultStreams(), ExpectMessage("<default_streams.xml> corrupted:\n", wxOK));
    EXPECT_EQ(GridRows(), FactoryStreamProfileRows());
    // Reading never touches the file itself.
    if (c.content) {
      EXPECT_EQ(ReadWholeFile(FilePath()), c.content);
    }
  }
}

TEST_F(DefaultStreamsTest, AMissingFileAtStartGivesTheFactoryRows) {
  std::filesystem::remove(FilePath());
  ConfigureTempDir();
  wxTEST_DIALOG(BuildFrame(), ExpectMessage("<default_streams.xml> corrupted:\n", wxOK));
  EXPECT_EQ(GridRows(), FactoryStreamProfileRows());
}

TEST_F(DefaultStreamsTest, ReadingFollowsTheFilesShape) {
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::string> names;  ///< the name column of the rows filled, from row 0
    bool foreignRoot;
  };
  const std::string head = "<?xml version=\"1.0\"?>\n";
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += StreamXml("S" + std::to_string(i));
  const std::vector<Case> cases = {
      {"names in another case",
       head + "<VIDEO_SETTING><Streams><Stream><NAME>Upper</NAME></Stream></Streams></VIDEO_SETTING>",
       {"Upper"},
       false},
      {"an empty name and blanks between elements use no row",
       head + "<video_setting><STREAMS>\n  " + StreamXml("") + "\n  " + StreamXml("Kept") +
           "\n</STREAMS></video_setting>",
       {"Kept"},
       false},
      {"ten named streams fill nine rows",
       head + "<video_setting><STREAMS>" + ten + "</STREAMS></video_setting>",
       {"S0", "S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8"},
       false},
      {"no STREAM at all", head + "<video_setting><STREAMS/></video_setting>", {}, false},
      {"a foreign root", head + "<security><STREAM><name>No</name></STREAM></security>", {}, true},
  };
  BuildQuietFrame();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteWholeFile(FilePath(), c.content);
    frame->ResetStreamsToFactory();
    if (c.foreignRoot) {
      wxTEST_DIALOG(frame->LoadDefaultStreams(), ExpectMessage("Loaded file is not a video setting file", wxOK));
    } else {
      EXPECT_NO_DIALOG(frame->LoadDefaultStreams());
    }
    for (int row = 0; row < kStreamRowCount; ++row) {
      const std::string expected = row < static_cast<int>(c.names.size()) ? c.names[row] : "";
      EXPECT_EQ(frame->streamsGrid->GetCellValue(row, kColumnName), wxString::FromUTF8(expected)) << row;
    }
  }
}

TEST_F(DefaultStreamsTest, AMissingElementLeavesItsCellEmpty) {
  BuildQuietFrame();
  WriteWholeFile(FilePath(),
                 "<video_setting><STREAMS><STREAM><encode>1</encode><name>NoFps</name><width>320</width>"
                 "<height>240</height><video_br>256</video_br><audio_br>40</audio_br></STREAM>"
                 "</STREAMS></video_setting>");
  EXPECT_NO_DIALOG(frame->LoadDefaultStreams());
  StreamProfileRows expected{};
  expected[0] = {"1", "NoFps", "320", "240", "", "256", "40"};
  EXPECT_EQ(GridRows(), expected);
}

TEST_F(DefaultStreamsTest, AFailedSaveKeepsTheDefaultsSavedBefore) {
  BuildQuietFrame();
  const std::string before = ReadWholeFile(FilePath());
  // A directory where the save writes its partial file makes the save fail.
  std::filesystem::create_directory(FilePath() + ".partial");
  ClearGrid();
  wxTEST_DIALOG(frame->SaveDefaultStreams(), ExpectMessage("Error saving <default_streams.xml>:\n", wxOK));
  EXPECT_EQ(ReadWholeFile(FilePath()), before);
}

}  // namespace
