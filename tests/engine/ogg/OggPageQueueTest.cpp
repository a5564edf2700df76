// Owned page copies and the blocking page queue between an encoder and its
// stream manager.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "MemoryOutputStream.h"
#include "ogg/OggPageQueue.h"
#include "OggTestStreams.h"
#include "keEvent.h"
#include "ogg/keOggPage.h"

namespace {

constexpr uint32_t kNegativeWaitMs = 50;

// The page of one data packet (granule 10), made and flushed by libogg after
// a page of its own for the stream's first packet.
std::unique_ptr<keOggPage> MakePage(int serial, size_t size, bool eos) {
  ogg_stream_state state;
  ogg_stream_init(&state, serial);
  FakeOggPacket header(5, 0, 0, 0, true);
  FakeOggPacket packet(size, static_cast<uint8_t>(serial), 1, 10, false, eos);
  ogg_page page;
  ogg_stream_packetin(&state, header.Get());
  EXPECT_NE(ogg_stream_flush(&state, &page), 0);
  ogg_stream_packetin(&state, packet.Get());
  EXPECT_NE(ogg_stream_flush(&state, &page), 0);
  auto copy = std::make_unique<keOggPage>(page);
  ogg_stream_clear(&state);  // the copy must not point into the stream
  return copy;
}

TEST(keOggPage, CopiesThePageAndWritesHeaderThenBody) {
  const std::vector<bool> eosCases = {false, true};
  for (bool eos : eosCases) {
    std::unique_ptr<keOggPage> page = MakePage(7, 300, eos);
    EXPECT_EQ(page->GetSerial(), 7);
    EXPECT_EQ(page->GetGranulePosition(), 10);
    EXPECT_EQ(page->IsEndOfStream(), eos);
    EXPECT_FALSE(page->IsKey());
    EXPECT_EQ(page->GetKeyPosition(), 0);
    EXPECT_EQ(page->GetUnitCount(), 0);
    EXPECT_EQ(page->GetBodyLength(), 300);

    MemoryOutputStream out;
    EXPECT_EQ(page->WriteTo(&out), eos);
    EXPECT_EQ(out.writeSizes, (std::vector<int32_t>{page->GetHeaderLength(), 300}));
    bool complete = false;
    std::vector<ParsedOggPage> parsed = ParseOggPages(out.bytes, &complete);
    EXPECT_TRUE(complete) << "the copy must still be a sound page";
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].eos, eos);
    EXPECT_EQ(parsed[0].granulePos, 10);
  }
}

TEST(OggPageQueue, TakeWaitsForAPageAndPeekLeavesItQueued) {
  OggPageQueue queue("Test");
  std::atomic<keOggPage*> taken{nullptr};
  keEvent tookOne(false, "test");
  std::thread consumer([&] {
    taken = queue.Take();
    tookOne.Set();
  });
  EXPECT_FALSE(tookOne.Wait(kNegativeWaitMs)) << "Take on an empty queue must wait";
  keOggPage* first = MakePage(1, 10, false).release();
  queue.Put(first);
  consumer.join();
  EXPECT_EQ(taken.load(), first);
  delete first;

  keOggPage* second = MakePage(1, 20, false).release();
  keOggPage* third = MakePage(1, 30, true).release();
  queue.Put(second);
  queue.Put(third);
  EXPECT_EQ(queue.Peek(), second);
  EXPECT_EQ(queue.Peek(), second);
  EXPECT_EQ(queue.GetCount(), 2u);
  keOggPage* next = queue.Take();
  EXPECT_EQ(next, second);
  delete next;
  EXPECT_EQ(queue.Peek(), third);
  // The queue still owns `third`: its destructor deletes it (a leak check
  // under the sanitizers would catch it otherwise).
}

TEST(OggPageQueue, PeekWaitsForAPage) {
  OggPageQueue queue("Test");
  std::atomic<keOggPage*> peeked{nullptr};
  keEvent sawOne(false, "test");
  std::thread consumer([&] {
    peeked = queue.Peek();
    sawOne.Set();
  });
  EXPECT_FALSE(sawOne.Wait(kNegativeWaitMs)) << "Peek on an empty queue must wait";
  keOggPage* page = MakePage(2, 10, true).release();
  queue.Put(page);
  consumer.join();
  EXPECT_EQ(peeked.load(), page);
  EXPECT_EQ(queue.TryTake(), page);
  EXPECT_EQ(queue.TryTake(), nullptr);
  delete page;
}

// The last page, put without allocating when a stream's own end page was
// lost, comes after every page put before it and after, and wakes a waiter.
TEST(OggPageQueue, TheLastPageComesAfterEveryOtherAndWakesAWaiter) {
  OggPageQueue queue("Test");
  std::atomic<keOggPage*> peeked{nullptr};
  keEvent sawOne(false, "test");
  std::thread consumer([&] {
    peeked = queue.Peek();
    sawOne.Set();
  });
  EXPECT_FALSE(sawOne.Wait(kNegativeWaitMs));
  keOggPage* last = MakePage(3, 0, true).release();
  queue.PutLast(last);
  consumer.join();
  EXPECT_EQ(peeked.load(), last);

  keOggPage* first = MakePage(3, 10, false).release();
  keOggPage* second = MakePage(3, 20, false).release();
  queue.Put(first);
  queue.Put(second);
  EXPECT_EQ(queue.GetCount(), 3u);
  const std::vector<keOggPage*> order = {first, second, last};
  for (keOggPage* expected : order) {
    keOggPage* page = queue.TryTake();
    EXPECT_EQ(page, expected);
    delete page;
  }
  EXPECT_EQ(queue.GetCount(), 0u);
  EXPECT_EQ(queue.TryTake(), nullptr);
  // A last page never taken goes with the queue.
  queue.PutLast(MakePage(3, 0, true).release());
}

}  // namespace
