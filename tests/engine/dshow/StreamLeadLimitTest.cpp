// The lead limit between the streams of a run: who waits, and what lets a
// waiting stream go.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "dshow/StreamLeadLimit.h"

namespace {

constexpr int64_t kLead = 10;

/// Delivers at `start` for `slot` on a thread of its own.
class Delivery {
 public:
  Delivery(StreamLeadLimit& limit, int slot, int64_t start)
      : thread_([&limit, slot, start, this] {
          result_ = limit.WaitToDeliver(slot, start, stop_);
          done_ = true;
        }) {}
  ~Delivery() { Join(); }
  /// True when it is still waiting a moment later (a wrong release would
  /// have happened by then).
  bool StillWaiting() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !done_.load();
  }
  bool Join() {
    if (thread_.joinable()) thread_.join();
    return result_;
  }
  std::atomic<bool>& Stop() { return stop_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  bool result_ = false;
  std::thread thread_;
};

TEST(StreamLeadLimit, HoldsOnlyAStreamTooFarAheadUntilTheOtherCatchesUp) {
  StreamLeadLimit limit;
  limit.Reset(kLead, 2);
  const int audio = limit.Join();
  const int video = limit.Join();
  const std::atomic<bool> running{false};

  EXPECT_TRUE(limit.WaitToDeliver(audio, kLead, running));  // exactly the lead: goes
  Delivery ahead(limit, audio, kLead + 30);
  EXPECT_TRUE(ahead.StillWaiting());
  // The stream behind never waits, however far behind it is.
  EXPECT_TRUE(limit.WaitToDeliver(video, 5, running));
  EXPECT_TRUE(ahead.StillWaiting());
  EXPECT_TRUE(limit.WaitToDeliver(video, 30, running));
  EXPECT_TRUE(ahead.Join());
}

TEST(StreamLeadLimit, AWaitingStreamGoesWhenTheOtherLeavesOrTheRunStops) {
  StreamLeadLimit limit;
  limit.Reset(kLead, 2);
  const int audio = limit.Join();
  const int video = limit.Join();
  {
    Delivery ahead(limit, audio, 100);
    EXPECT_TRUE(ahead.StillWaiting());
    limit.Leave(video);
    EXPECT_TRUE(ahead.Join());
  }
  limit.Reset(kLead, 2);
  limit.Join();
  limit.Join();
  {
    Delivery ahead(limit, 0, 100);
    EXPECT_TRUE(ahead.StillWaiting());
    ahead.Stop() = true;
    limit.WakeAll();
    EXPECT_FALSE(ahead.Join());
  }
}

TEST(StreamLeadLimit, HoldsNobodyWithoutALeadOrASlot) {
  const std::atomic<bool> running{false};
  StreamLeadLimit off;
  off.Reset(0, 2);
  EXPECT_TRUE(off.WaitToDeliver(off.Join(), 1000000000, running));

  StreamLeadLimit full;
  full.Reset(kLead, 1);
  EXPECT_EQ(full.Join(), 0);
  EXPECT_EQ(full.Join(), -1);
  EXPECT_TRUE(full.WaitToDeliver(-1, 1000000000, running));
  EXPECT_TRUE(full.WaitToDeliver(0, 1000000000, running));  // alone: no one to wait for
}

}  // namespace

// A stream at the end of its data learns how far the others get, step by
// step, and that it is final once they have left or ended their data too;
// two streams that both ended their data never wait for each other.
TEST(StreamLeadLimit, AStreamAtItsEndFollowsTheOthersToTheirEnd) {
  StreamLeadLimit limit;
  limit.Reset(100, 2);  // a lead no delivery here exceeds
  const int video = limit.Join();
  const int audio = limit.Join();
  const std::atomic<bool> running{false};
  ASSERT_TRUE(limit.WaitToDeliver(audio, 25, running));

  bool final = true;
  EXPECT_EQ(limit.WaitForOthers(video, 20, running, &final), 25);
  EXPECT_FALSE(final);
  std::thread audioGoesOn([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    limit.Leave(audio, 40);
  });
  EXPECT_EQ(limit.WaitForOthers(video, 25, running, &final), 40);
  EXPECT_TRUE(final);
  audioGoesOn.join();

  limit.Reset(100, 2);  // a lead no delivery here exceeds
  const int first = limit.Join();
  const int second = limit.Join();
  ASSERT_TRUE(limit.WaitToDeliver(second, 5, running));
  std::thread secondEnds([&] {
    bool last = false;
    EXPECT_EQ(limit.WaitForOthers(second, 5, running, &last), 30);
    EXPECT_TRUE(last);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(limit.WaitForOthers(first, 30, running, &final), 30);
  EXPECT_TRUE(final);
  secondEnds.join();
}
