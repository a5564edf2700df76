// The reader's frame-rate and end-time rules, and the measured rate's snapping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dshow/keFrameRateProbe.h"
#include "dshow/keSourceTiming.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct RateCase {
  const char* name;
  HRESULT result;
  double stated;
  double measured;  // what the measurement would give
  double frameRate;
  bool measures;
  bool rateMeasured;
};

TEST(keChooseFrameRate, KeepsStatedRatesAndMeasuresMissingOrImplausibleOnes) {
  const std::vector<RateCase> cases = {
      {"stated 25", S_OK, 25.0, 99.0, 25.0, false, false},
      {"stated 0: default, no measurement", S_OK, 0.0, 99.0, 25.0, false, false},
      {"stated 40", S_OK, 40.0, 99.0, 40.0, false, false},
      // A rate of 50 is a rate of 50, not of 2.5.
      {"stated 50", S_OK, 50.0, 99.0, 50.0, false, false},
      {"stated 59.94", S_OK, 59.94, 99.0, 59.94, false, false},
      {"stated 120", S_OK, 120.0, 99.0, 120.0, false, false},
      {"time scale 600", S_OK, 600.0, 29.5, 29.5, true, false},
      {"time scale, nothing measured", S_OK, 1000.0, kNaN, 25.0, true, false},
      {"none stated", S_FALSE, 0.0, 14.5, 14.5, true, true},
      {"none stated, nothing measured", S_FALSE, 0.0, kNaN, 25.0, true, true},
      {"none stated, but a rate given", S_FALSE, 12.0, 99.0, 12.0, false, true},
      {"detector failed", E_FAIL, 0.0, 99.0, 25.0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool measured = false;
    const keFrameRateChoice choice = keChooseFrameRate(c.result, c.stated, [&] {
      measured = true;
      return c.measured;
    });
    EXPECT_EQ(choice.frameRate, c.frameRate);
    EXPECT_EQ(measured, c.measures);
    EXPECT_EQ(choice.rateMeasured, c.rateMeasured);
  }
}

struct EndCase {
  double video, audio, end;
};

TEST(keChooseEndTime, TakesTheLongerKnownLength) {
  const std::vector<EndCase> cases = {
      {119.5, 120.0, 120.0}, {60.0, 59.9, 60.0},
      {-1.0, 30.0, 30.0},    {30.0, -1.0, 30.0},  // video only: the video's length, not -1
      {-1.0, -1.0, -1.0},    {0.0, 10.0, 10.0},
  };
  for (const auto& c : cases) EXPECT_EQ(keChooseEndTime(c.video, c.audio), c.end) << c.video << " / " << c.audio;
}

// The end of the data: the later stream's, but sound that runs on past the
// last picture by what a codec pads its last block with adds no picture. In
// turn: the sound ends first (silence follows to the last picture's end);
// the sound's last block is padding; the pictures end first (the last one is
// held to the sound's end); one stream only; none.
TEST(keChooseDataEnd, TakesTheLaterEndButNotTheSoundsPadding) {
  const std::vector<EndCase> cases = {
      {6.04, 6.0, 6.04}, {8.0, 4.0, 8.0},  {2.0, 2.04, 2.0}, {2.0, 2.25, 2.0},
      {1.0, 5.0, 5.0},   {-1.0, 3.0, 3.0}, {3.0, -1.0, 3.0}, {-1.0, -1.0, -1.0},
  };
  for (const auto& c : cases) EXPECT_EQ(keChooseDataEnd(c.video, c.audio), c.end) << c.video << " / " << c.audio;
}

struct SnapCase {
  double frames;
  int64_t firstStart, lastEnd;
  double rate;
};

TEST(keFrameRateProbe, RateFromTheCountIsSnappedDownToAHalf) {
  const std::vector<SnapCase> cases = {
      {25, 0, 10000000, 25.0},      {30, 0, 10010000, 29.5},                         // 29.97
      {126, 0, 50000000, 25.0},                                                      // 25.2
      {1499, 0, 1000000000, 14.5},                                                   // 14.99
      {15, 0, 10000000, 15.0},      {61, 0, 10000000, 61.0}, {5, 0, 1600000, 31.5},  // 31.25
      {50, 500000, 20500000, 25.0},                                                  // a video that starts 50 ms late
  };
  for (const auto& c : cases)
    EXPECT_EQ(keSnapFrameRate(keRateFromCount(c.frames, c.firstStart, c.lastEnd)), c.rate)
        << c.frames << " from " << c.firstStart << " to " << c.lastEnd;
  EXPECT_TRUE(std::isnan(keRateFromCount(0, 0, 0)));  // no frame arrived
  EXPECT_TRUE(std::isnan(keSnapFrameRate(kNaN)));
  EXPECT_EQ(keSnapFrameRate(0.0), 0.0);
}

}  // namespace
