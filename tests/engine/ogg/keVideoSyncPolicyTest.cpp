// Frame-rate policies: the emit count each policy gives a run of frames.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ogg/keFrameRatioPolicy.h"
#include "ogg/keFrameTimestampPolicy.h"
#include "keVideoSample.h"

namespace {

struct PolicyCase {
  std::string name;
  bool timestamp;  // keFrameTimestampPolicy, else keFrameRatioPolicy
  double sourceFps;
  double targetFps;
  std::vector<int64_t> startMs;  // the frames' start times
  bool lastFlagOnFinal;          // the final frame ends the stream
  std::vector<int32_t> expected;
};

std::vector<int32_t> EmitCounts(const PolicyCase& c) {
  std::unique_ptr<keVideoSyncPolicy> policy;
  if (c.timestamp) policy = std::make_unique<keFrameTimestampPolicy>();
  else policy = std::make_unique<keFrameRatioPolicy>();
  policy->SetSourceFps(c.sourceFps);
  policy->SetTargetFps(c.targetFps);
  policy->Reset();
  keVideoSample frame(nullptr, 16, 16, keVideoFormatYuv420);
  std::vector<int32_t> counts;
  for (size_t i = 0; i < c.startMs.size(); ++i) {
    frame.start = c.startMs[i] * 10000;
    frame.end = frame.start + 1;
    frame.last = c.lastFlagOnFinal && i + 1 == c.startMs.size();
    policy->Decide(&frame);
    EXPECT_EQ(policy->IsDropped(), policy->GetEmitCount() == 0) << c.name;
    counts.push_back(policy->GetEmitCount());
  }
  return counts;
}

std::vector<int64_t> Stamps(int count, double fps) {
  std::vector<int64_t> stamps;
  for (int i = 0; i < count; ++i) stamps.push_back(static_cast<int64_t>(i * 1000.0 / fps));
  return stamps;
}

TEST(VideoSyncPolicy, EmitCountsFollowThePolicysClock) {
  const std::vector<PolicyCase> cases = {
      {"ratio halves 25 to 12.5", false, 25, 12.5, Stamps(8, 25), false, {1, 1, 0, 1, 0, 1, 0, 1}},
      {"ratio emits a last frame whose turn is a drop", false, 25, 12.5, Stamps(7, 25), true, {1, 1, 0, 1, 0, 1, 1}},
      {"ratio never repeats above the source rate", false, 12.5, 25, Stamps(5, 12.5), false, {1, 1, 1, 1, 1}},
      {"ratio passes equal rates", false, 25, 25, Stamps(4, 25), false, {1, 1, 1, 1}},
      {"ratio keeps one in four", false, 20, 5, Stamps(8, 20), false, {1, 0, 0, 1, 0, 0, 0, 1}},
      {"timestamp fills the slots before each frame", true, 10, 10, {0, 100, 300}, false, {0, 1, 2}},
      {"timestamp repeats when raising the rate", true, 12.5, 25, Stamps(5, 12.5), false, {0, 2, 2, 2, 2}},
      {"timestamp drops when lowering the rate", true, 25, 12.5, Stamps(7, 25), false, {0, 1, 0, 1, 0, 1, 0}},
      {"timestamp emits the last frame even with no slot before it", true, 10, 10, {0}, true, {1}},
      {"timestamp last frame fills its slots once", true, 10, 10, {0, 100, 300}, true, {0, 1, 2}},
      {"timestamp without a target rate passes frames", true, 25, 0, {0, 40, 80}, false, {1, 1, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(EmitCounts(c), c.expected) << c.name;
}

TEST(VideoSyncPolicy, ResetStartsTheClockAgain) {
  for (bool timestamp : {false, true}) {
    PolicyCase c{"", timestamp, 25, 12.5, Stamps(5, 25), false, {}};
    std::vector<int32_t> first = EmitCounts(c);
    std::unique_ptr<keVideoSyncPolicy> policy;
    if (timestamp) policy = std::make_unique<keFrameTimestampPolicy>();
    else policy = std::make_unique<keFrameRatioPolicy>();
    policy->SetSourceFps(25);
    policy->SetTargetFps(12.5);
    keVideoSample frame(nullptr, 16, 16, keVideoFormatYuv420);
    for (int round = 0; round < 2; ++round) {
      policy->Reset();
      std::vector<int32_t> counts;
      for (int64_t ms : c.startMs) {
        frame.start = ms * 10000;
        policy->Decide(&frame);
        counts.push_back(policy->GetEmitCount());
      }
      EXPECT_EQ(counts, first) << "timestamp=" << timestamp << " round " << round;
    }
  }
}

TEST(VideoSyncPolicy, OnlyTheTimestampPolicyRepeats) {
  EXPECT_FALSE(keFrameRatioPolicy().CanRepeat());
  EXPECT_TRUE(keFrameTimestampPolicy().CanRepeat());
}

}  // namespace
