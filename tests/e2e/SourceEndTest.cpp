// Where an encode ends: at the end of the source's data, whatever length the
// file declares (an AVI cut off before its index, clips joined byte for
// byte); a start and an end count on the timeline the encode follows; picture
// and sound last what the container declares; and the run says so when the
// data end before the end asked for or declared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EncodeRunner.h"
#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "SyncMarkers.h"
#include "TempDir.h"
#include "TestMedia.h"

namespace {

constexpr double kFps = 25.0;
/// One picture at the sources' rate, and a little for rounding.
constexpr double kOnePicture = 1.0 / kFps + 1e-3;

struct Encoded {
  EncodeOutcome outcome;
  double declaredSeconds = -1.0;  ///< the container's "content-duration"
  SyncMarkers counted;            ///< pictures (repeats included) and samples
  OggDecodeResult decoded;        ///< what FFmpeg makes of the profile
  double PictureSeconds() const { return static_cast<double>(counted.frames) / kFps; }
  double SoundSeconds() const { return static_cast<double>(counted.samples) / counted.sampleRate; }
};

/// Encodes `file` into one profile at the sources' own rate, so that every
/// picture of the source is one frame of the profile.
Encoded EncodeWhole(const std::string& file, const std::string& start = "", const std::string& end = "") {
  TempDir dir;
  const std::string out = dir.File("out.osq");
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path(file), out, dir.Path());
  fields.rows = {};
  fields.rows[0] = {"1", "Whole", "160", "96", "25", "300", "32"};
  fields.startSeconds = start;
  fields.endSeconds = end;
  Encoded encoded;
  EXPECT_TRUE(ProbeInto(fields));
  encoded.outcome = RunEncode(fields);
  if (!encoded.outcome.succeeded) return encoded;
  const OrvexaContainer container = ReadOrvexaContainerFile(out);
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  const auto contents = container.AudioVideoContents();
  if (contents.size() != 1u) {
    ADD_FAILURE() << contents.size() << " contents";
    return encoded;
  }
  encoded.declaredSeconds = std::stod(contents[0]->Property("content-duration")) / 1000.0;
  encoded.counted = FindSyncMarkers(contents[0]->oggBytes);
  EXPECT_TRUE(encoded.counted.decoded) << encoded.counted.errorText;
  encoded.decoded = DecodeOggBytes(contents[0]->oggBytes);
  EXPECT_FALSE(encoded.decoded.decodeErrors) << encoded.decoded.errorText;
  return encoded;
}

// A file cut off before its index states about 2 s and holds about 6: every
// picture FFmpeg decodes from it is encoded (and the last one again where
// the sound runs on over a damaged picture), the sound as long, the
// container declares that much, and nothing is missing to warn about.
TEST(SourceEnd, ACutOffFileIsEncodedToTheEndOfItsData) {
  for (const char* file : {"cutoff_mpeg4_mp3.avi", "cutoff_h264_aac.avi", "cutoff_mjpeg_pcm.avi"}) {
    SCOPED_TRACE(file);
    const int pictures = TestMedia::FfmpegPictureCount(TestMedia::Path(file));
    ASSERT_GT(pictures, 125) << "FFmpeg decodes no more than the file states";
    const Encoded encoded = EncodeWhole(file);
    ASSERT_TRUE(encoded.outcome.succeeded) << encoded.outcome.failureText;
    EXPECT_TRUE(encoded.outcome.warnings.empty()) << encoded.outcome.warnings[0];
    EXPECT_GE(encoded.counted.frames, pictures);
    EXPECT_LE(encoded.counted.frames, pictures + 1);
    EXPECT_NEAR(encoded.SoundSeconds(), encoded.PictureSeconds(), kOnePicture);
    EXPECT_NEAR(encoded.declaredSeconds, encoded.PictureSeconds(), kOnePicture);
  }
}

// Two clips of 2 s joined byte for byte, dark and silent then bright with a
// tone: a start and an end are times of the joined 4 s, and a start past
// them is refused with where the data end.
TEST(SourceEnd, AStartAndAnEndCountOnTheJoinedTimeline) {
  struct Case {
    const char* start;
    const char* end;
    double seconds;
    int firstBrightFrame;
    double firstLoudSeconds;
  };
  const std::vector<Case> cases = {
      {"2.5", "", 1.5, 0, 0.0},  // inside the second clip, past the first clip's length
      {"1", "3", 2.0, 25, 1.0},  // across the join
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " to " + c.end);
    const Encoded encoded = EncodeWhole("sync_joined.mpg", c.start, c.end);
    ASSERT_TRUE(encoded.outcome.succeeded) << encoded.outcome.failureText;
    EXPECT_TRUE(encoded.outcome.warnings.empty()) << encoded.outcome.warnings[0];
    EXPECT_NEAR(encoded.declaredSeconds, c.seconds, 1e-3);
    EXPECT_NEAR(encoded.PictureSeconds(), c.seconds, kOnePicture);
    EXPECT_NEAR(encoded.SoundSeconds(), c.seconds, kOnePicture);
    EXPECT_NEAR(encoded.counted.firstBrightFrame, c.firstBrightFrame, 1);
    EXPECT_NEAR(static_cast<double>(encoded.counted.firstLoudSample) / encoded.counted.sampleRate, c.firstLoudSeconds,
                0.05);
  }
  const Encoded refused = EncodeWhole("sync_joined.mpg", "5");
  EXPECT_TRUE(refused.outcome.refused);
  EXPECT_NE(refused.outcome.failureText.find("The start time 5.00 s is not before the end of the source (4.00 s)"),
            std::string::npos)
      << refused.outcome.failureText;
  // A file that declares more than it holds: a start between the two is
  // found past the data when the run reads them, and fails it with the end.
  const Encoded pastData = EncodeWhole("half.mp4", "4");
  EXPECT_FALSE(pastData.outcome.succeeded);
  EXPECT_NE(pastData.outcome.failureText.find("The start time 4.00 s is not before the end of the source (2.8"),
            std::string::npos)
      << pastData.outcome.failureText;
}

// A clip with sound joined to one without: the sound goes on as silence to
// the end of the pictures, so that each stream lasts what the container
// declares (as FFmpeg reads the streams back).
TEST(SourceEnd, AJoinWhoseLaterPartLacksSoundIsSilentToTheEnd) {
  const Encoded encoded = EncodeWhole("joined_nosound.mpg");
  ASSERT_TRUE(encoded.outcome.succeeded) << encoded.outcome.failureText;
  EXPECT_TRUE(encoded.outcome.warnings.empty()) << encoded.outcome.warnings[0];
  EXPECT_NEAR(encoded.declaredSeconds, 4.0, kOnePicture);
  EXPECT_NEAR(encoded.PictureSeconds(), encoded.declaredSeconds, kOnePicture);
  EXPECT_NEAR(encoded.SoundSeconds(), encoded.declaredSeconds, kOnePicture);
  for (const char* kind : {"audio", "video"}) {
    SCOPED_TRACE(kind);
    const DecodedOggStream* stream = encoded.decoded.Stream(kind);
    ASSERT_NE(stream, nullptr);
    EXPECT_NEAR(stream->durationSeconds, encoded.declaredSeconds, kOnePicture);
  }
}

// Data that end well before the end: the run says where, and before what,
// an end time asked for or the length the file declares.
TEST(SourceEnd, AnEarlyEndIsToldAgainstTheEndAskedForOrDeclared) {
  struct Case {
    const char* file;
    const char* end;
    const char* said;  ///< empty: no warning
  };
  const std::vector<Case> cases = {
      {"half.mp4", "", "before the 6.00 s it declares: only that much was encoded"},
      {"half.mp4", "5", "before the 5.00 s asked: only that much was encoded"},
      {"cutoff_mpeg4_mp3.avi", "8", "the source ends at 6.04 s, before the 8.00 s asked"},
      {"cutoff_mpeg4_mp3.avi", "4", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " to " + c.end);
    const Encoded encoded = EncodeWhole(c.file, "", c.end);
    ASSERT_TRUE(encoded.outcome.succeeded) << encoded.outcome.failureText;
    if (*c.said == '\0') {
      EXPECT_TRUE(encoded.outcome.warnings.empty()) << encoded.outcome.warnings[0];
      continue;
    }
    ASSERT_EQ(encoded.outcome.warnings.size(), 1u);
    EXPECT_NE(encoded.outcome.warnings[0].find(c.said), std::string::npos) << encoded.outcome.warnings[0];
  }
}

}  // namespace
