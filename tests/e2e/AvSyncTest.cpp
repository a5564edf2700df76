// Picture and sound stay together through sources whose timestamps are
// awkward: a frame rate that changes, frames that come early or late, audio
// that starts late, has a hole or starts before the video, clips joined byte
// for byte whose times start over. Each source turns
// its picture from black to white and its sound from silence to a tone at the
// same moment; in every profile both markers must land where the source has
// them on the encode's timeline, counted in frames and samples as a player
// lays them out.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

#include "EncodeRunner.h"
#include "OrvexaContainerReader.h"
#include "SyncMarkers.h"
#include "TempDir.h"
#include "TestMedia.h"

namespace {

struct SyncCase {
  const char* name;
  const char* file;
  double expected;      ///< where both markers belong in the output, in seconds
  double length = 0.0;  ///< the output's length in seconds; 0: not checked
};

void PrintTo(const SyncCase& c, std::ostream* out) { *out << c.file; }

// Rounding of frame and sample positions to seconds.
constexpr double kSlack = 1e-6;

// One profile's markers both within one of its frames of `expected`, and of
// each other: a profile slower than the source shows the change at its next
// frame, up to one frame late.
void ExpectMarkersTogether(const OrvexaContent& content, double expected, double length) {
  const double fps = std::stod(content.Property("video-fps-num")) / 1000.0;
  ASSERT_GT(fps, 0.0);
  const double frame = 1.0 / fps;
  const SyncMarkers markers = FindSyncMarkers(content.oggBytes);
  ASSERT_TRUE(markers.decoded) << markers.errorText;
  EXPECT_GE(markers.firstBrightFrame, 0) << "the picture never turns white in " << markers.frames << " frames";
  EXPECT_GE(markers.firstLoudSample, 0) << "the tone never sounds in " << markers.samples << " samples";
  if (markers.firstBrightFrame >= 0 && markers.firstLoudSample >= 0) {
    const double picture = static_cast<double>(markers.firstBrightFrame) / fps;
    const double sound = static_cast<double>(markers.firstLoudSample) / markers.sampleRate;
    std::ostringstream where;
    where << "picture marker at " << picture << " s (frame " << markers.firstBrightFrame << " at " << fps
          << " fps), sound marker at " << sound << " s (sample " << markers.firstLoudSample << " at "
          << markers.sampleRate << " Hz)";
    EXPECT_NEAR(picture, expected, frame + kSlack) << where.str();
    EXPECT_NEAR(sound, expected, frame + kSlack) << where.str();
    EXPECT_NEAR(picture, sound, frame + kSlack) << where.str();
  }

  // Where the sound goes missing for a while the profile still runs the
  // whole length: silence fills the late start and the hole.
  const double videoSeconds = static_cast<double>(markers.frames) / fps;
  const double audioSeconds = static_cast<double>(markers.samples) / markers.sampleRate;
  EXPECT_NEAR(audioSeconds, videoSeconds, 2 * frame + kSlack)
      << "sound runs " << audioSeconds << " s, picture " << videoSeconds << " s (" << markers.frames << " frames)";
  if (length > 0.0) {
    EXPECT_NEAR(videoSeconds, length, 2 * frame + kSlack) << markers.frames << " frames";
  }
}

}  // namespace

class AwkwardSource : public ::testing::TestWithParam<SyncCase> {};

TEST_P(AwkwardSource, PictureAndSoundMarkersLandTogether) {
  const SyncCase& source = GetParam();
  TempDir dir;
  const std::string out = dir.File("out.orx");
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path(source.file), out, dir.Path());
  ASSERT_TRUE(ProbeInto(fields)) << source.file << " was rejected by the probe";
  const EncodeOutcome outcome = RunEncode(fields);
  ASSERT_TRUE(outcome.finished) << "the encode never finished";
  ASSERT_TRUE(outcome.succeeded) << outcome.failureText;

  const OrvexaContainer container = ReadOrvexaContainerFile(out);
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  ASSERT_EQ(container.AudioVideoContents().size(), 5u);
  for (const OrvexaContent* content : container.AudioVideoContents()) {
    SCOPED_TRACE(std::string(source.file) + ", profile " + content->Property("content-name"));
    ExpectMarkersTogether(*content, source.expected, source.length);
  }
}

// The encode's timeline begins at the video's first frame: sound before it
// is cut, so the early-audio source's markers move 1 s earlier.
INSTANTIATE_TEST_SUITE_P(AvSync, AwkwardSource,
                         ::testing::Values(SyncCase{"VariableFrameRate", "sync_vfr.mp4", 3.5},
                                           SyncCase{"IrregularTimestamps", "sync_jitter.mkv", 3.0},
                                           SyncCase{"AudioStartsLate", "sync_lateaudio.mp4", 4.0},
                                           SyncCase{"HoleInAudio", "sync_hole.mkv", 4.0},
                                           SyncCase{"AudioStartsEarly", "sync_earlyaudio.mkv", 2.0},
                                           SyncCase{"JoinedTransportStreams", "sync_joined.ts", 2.0, 4.0},
                                           SyncCase{"JoinedWithAForwardJump", "sync_joinedlate.ts", 2.0, 4.0},
                                           SyncCase{"JoinedProgramStreams", "sync_joined.mpg", 2.0, 4.0}),
                         [](const ::testing::TestParamInfo<SyncCase>& info) { return std::string(info.param.name); });
