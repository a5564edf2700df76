// End to end from the window: a generated source's path typed into the input
// field, encoded with the factory rows (ADSL1) and with all five profiles;
// the container taken apart by the tests' reader and every profile decoded
// by FFmpeg.
#include <gtest/gtest.h>
#include <wx/grid.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

#include "EncodeTestFrame.h"
#include "ModalExpectations.h"
#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "TempDir.h"
#include "TestMedia.h"

namespace {

void ExpectEveryProfileDecodes(const std::string& path, const std::vector<std::string>& names) {
  const OrvexaContainer container = ReadOrvexaContainerFile(path);
  ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
  EXPECT_EQ(container.HeaderProperty("vendor"), "Harwelco");
  const auto profiles = container.AudioVideoContents();
  ASSERT_EQ(profiles.size(), names.size());
  for (size_t i = 0; i < profiles.size(); ++i) {
    const OrvexaContent* content = profiles[i];
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(content->Property("content-name"), names[i]);
    EXPECT_TRUE(container.SeekIndexFor(content->id) != nullptr);
    const OggDecodeResult decoded = DecodeOggBytes(content->oggBytes);
    ASSERT_TRUE(decoded.probed) << decoded.errorText;
    EXPECT_FALSE(decoded.decodeErrors) << decoded.errorText;
    const DecodedOggStream* video = decoded.Stream("video");
    const DecodedOggStream* audio = decoded.Stream("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_EQ(video->codec, "theora");
    EXPECT_EQ(std::to_string(video->width), content->Property("video-width"));
    EXPECT_EQ(audio->codec, "vorbis");
    EXPECT_GT(video->frames, 0);
    EXPECT_NEAR(audio->durationSeconds, 2.0, 0.15);
  }
}

}  // namespace

TEST(EncodeWindowEndToEnd, TypedSourceEncodesWithTheFactoryRowAndWithAllFive) {
  struct Case {
    const char* what;
    std::vector<int> rows;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"factory rows: ADSL1", {2}, {"ADSL1"}},
      {"all five", {0, 1, 2, 3, 4}, {"Modem", "ISDN", "ADSL1", "ADSL2", "MEGA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir out;
    TempDir temp;
    auto* frame = new EncodeTestFrame;
    frame->control.SetTempDirectory(temp.Path());
    frame->TypeInput(TestMedia::Path("av.mp4"));
    frame->output->ChangeValue(out.File("movie.osq"));
    frame->SelectRows(std::initializer_list<int>{});
    for (int row : c.rows) frame->grid->SetCellValue(row, 0, "1");
    wxTEST_DIALOG(frame->Encode(), ExpectMessage("Start encoding ?", wxID_YES),
                  ExpectMessage("Finished Encoding    \n\nTotal Time:     ", wxID_OK).Prefix());
    CloseFrame(frame);
    ExpectEveryProfileDecodes(out.File("movie.osq"), c.names);
    EXPECT_EQ(out.Entries(), std::vector<std::string>{"movie.osq"});
    EXPECT_TRUE(temp.Entries().empty());
  }
}
