// Engine mutexes and events.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "keEvent.h"
#include "keMutex.h"

namespace {

TEST(keEvent, WaitReportsStateAndStaysSetUntilReset) {
  keEvent event(false, "test");
  EXPECT_FALSE(event.Wait(0));
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_TRUE(event.Wait(0));  // manual reset: waiting does not consume it
  event.Reset();
  EXPECT_FALSE(event.Wait(0));
  keEvent initiallySet(true, "test");
  EXPECT_TRUE(initiallySet.Wait(0));
}

TEST(keEvent, ReleasesEveryWaiter) {
  keEvent event(false, "test");
  std::atomic<int> woken{0};
  std::thread a([&] {
    if (event.Wait(keINFINITE)) ++woken;
  });
  std::thread b([&] {
    if (event.Wait(keINFINITE)) ++woken;
  });
  event.Set();
  a.join();
  b.join();
  EXPECT_EQ(woken, 2);
}

TEST(keMutex, SameLabelExcludesAcrossThreadsAndNestsOnOne) {
  keMutex first(false, "keSyncTest shared");
  keMutex second(false, "keSyncTest shared");
  keMutex other(false, "keSyncTest other");

  first.Lock();
  first.Lock();  // recursive for its owner
  std::atomic<bool> secondTaken{false}, otherTaken{false};
  keEvent otherDone(false, "test");
  std::thread contender([&] {
    other.Lock();
    otherTaken = true;
    other.Unlock();
    otherDone.Set();
    second.Lock();
    secondTaken = true;
    second.Unlock();
  });
  ASSERT_TRUE(otherDone.Wait(keINFINITE));
  EXPECT_TRUE(otherTaken);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(secondTaken) << "a wrapper with the same label must share the lock";
  first.Unlock();
  EXPECT_FALSE(secondTaken);  // still held once
  first.Unlock();
  contender.join();
  EXPECT_TRUE(secondTaken);
}

TEST(keMutex, UnlabelledMutexesAreIndependent) {
  keMutex a, b;
  a.Lock();
  std::atomic<bool> taken{false};
  std::thread t([&] {
    b.Lock();
    taken = true;
    b.Unlock();
  });
  t.join();
  EXPECT_TRUE(taken);
  a.Unlock();
}

}  // namespace
