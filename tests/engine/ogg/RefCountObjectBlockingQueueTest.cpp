// The bounded sample queue between a source's streaming thread and an
// encoder thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "ogg/RefCountObjectBlockingQueue.h"
#include "keAudioSample.h"
#include "keAudioSampleFactory.h"
#include "keAudioSource.h"
#include "keEvent.h"
#include "keRefCounted.h"

namespace {

// Long enough for a wrongly returning call to show, only ever used to prove
// that something has NOT happened.
constexpr uint32_t kNegativeWaitMs = 50;

class Counted : public keRefCounted {
 public:
  explicit Counted(int id = 0) : id(id) { AddRef(); }  // the producer's reference
  int id;
  std::atomic<int> zeroCalls{0};

 protected:
  void OnZeroRef() override { ++zeroCalls; }
};

std::vector<std::unique_ptr<Counted>> MakeObjects(int n) {
  std::vector<std::unique_ptr<Counted>> objects;
  for (int i = 0; i < n; ++i) objects.push_back(std::make_unique<Counted>(i));
  return objects;
}

TEST(RefCountObjectBlockingQueue, ProducerWaitsWhileTenAreQueued) {
  RefCountObjectBlockingQueue queue;
  ASSERT_EQ(queue.GetCapacity(), 10);
  auto objects = MakeObjects(12);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(queue.Put(objects[i].get()));
  EXPECT_EQ(queue.GetCount(), 10);

  keEvent eleventhIn(false, "test");
  std::thread producer([&] {
    queue.Put(objects[10].get());
    eleventhIn.Set();
  });
  EXPECT_FALSE(eleventhIn.Wait(kNegativeWaitMs)) << "an eleventh Put must wait for space";
  EXPECT_EQ(queue.GetCount(), 10);

  keRefCounted* first = queue.Take();
  EXPECT_EQ(first, objects[0].get());
  EXPECT_TRUE(eleventhIn.Wait(keINFINITE));
  producer.join();
  EXPECT_EQ(queue.GetCount(), 10);
  first->Release();

  for (int i = 1; i <= 10; ++i) {
    keRefCounted* next = queue.Take();
    EXPECT_EQ(next, objects[i].get()) << "first in, first out";
    next->Release();
  }
  EXPECT_EQ(queue.GetCount(), 0);
  ASSERT_TRUE(queue.Put(objects[11].get()));  // space again after draining
  queue.Take()->Release();
  for (int i = 0; i < 12; ++i) EXPECT_EQ(objects[i]->zeroCalls, 1) << i;
}

TEST(RefCountObjectBlockingQueue, TakeWaitsForAnObject) {
  RefCountObjectBlockingQueue queue;
  Counted object;
  std::atomic<keRefCounted*> taken{nullptr};
  keEvent tookOne(false, "test");
  std::thread consumer([&] {
    taken = queue.Take();
    tookOne.Set();
  });
  EXPECT_FALSE(tookOne.Wait(kNegativeWaitMs)) << "Take on an empty queue must wait";
  queue.Put(&object);
  consumer.join();
  EXPECT_EQ(taken.load(), &object);
  object.Release();
}

TEST(RefCountObjectBlockingQueue, ClosingFreesABlockedProducerAndGivesEveryReferenceBack) {
  RefCountObjectBlockingQueue queue;
  auto objects = MakeObjects(12);
  for (int i = 0; i < 10; ++i) queue.Put(objects[i].get());
  std::atomic<int> result{-1};
  keEvent returned(false, "test");
  std::thread producer([&] {
    result = queue.Put(objects[10].get()) ? 1 : 0;
    returned.Set();
  });
  EXPECT_FALSE(returned.Wait(kNegativeWaitMs));
  queue.Close();  // the encoder stops while the streaming thread waits
  producer.join();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(queue.Put(objects[11].get()));
  EXPECT_EQ(queue.Take(), nullptr);
  EXPECT_EQ(queue.GetCount(), 0);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(objects[i]->GetRefCount(), 0u) << i;
    EXPECT_EQ(objects[i]->zeroCalls, 1) << i;
  }
  queue.Close();  // harmless twice
}

TEST(RefCountObjectBlockingQueue, DestructorGivesBackWhatIsStillQueued) {
  auto objects = MakeObjects(3);
  {
    RefCountObjectBlockingQueue queue;
    for (auto& object : objects) queue.Put(object.get());
  }
  // Released, never deleted: the objects belong to whoever made them.
  for (auto& object : objects) {
    EXPECT_EQ(object->GetRefCount(), 0u);
    EXPECT_EQ(object->zeroCalls, 1);
  }
}

// An encoder's listener side: queues every block it is given.
class QueueingListener : public keAudioListener {
 public:
  explicit QueueingListener(RefCountObjectBlockingQueue* queue) : queue_(queue) {}
  void OnFormat(int32_t, int32_t) override {}
  void OnStart() override {}
  void OnSample(keAudioSample* sample) override { queue_->Put(sample); }
  void OnEndOfStream() override {}

 private:
  RefCountObjectBlockingQueue* queue_;
};

TEST(RefCountObjectBlockingQueue, OneSampleTravelsBetweenAFilterAndAnEncoderThread) {
  // The filter loads its one sample, hands it on, and waits for the zero
  // event before loading the next block; the encoder thread reads each block
  // and releases it. Every block must arrive whole and in order.
  constexpr int kBlocks = 200;
  keEngineContext context;
  keAvSourceBase hub(&context);
  keAudioSampleFactory factory(2, 44100);
  RefCountObjectBlockingQueue queue;
  QueueingListener listener(&queue);
  hub.AddListener(&listener);

  std::vector<int> seen;
  std::thread encoder([&] {
    for (;;) {
      auto* sample = static_cast<keAudioSample*>(queue.Take());
      int value = 0;
      std::memcpy(&value, sample->data, sizeof value);
      bool whole = sample->length == static_cast<int32_t>(sizeof value) + value % 7;
      bool last = sample->last;
      seen.push_back(whole ? value : -1);
      sample->Release();
      if (last) break;
    }
  });
  std::vector<uint8_t> block(64, 0);
  for (int i = 0; i < kBlocks; ++i) {
    std::memcpy(block.data(), &i, sizeof i);
    keAudioSample* sample = factory.GetSample(block.data(), static_cast<int32_t>(sizeof i) + i % 7, true);
    sample->last = i == kBlocks - 1;
    hub.NotifySample(sample);
    sample->GetZeroRefEvent().Wait(keINFINITE);
  }
  encoder.join();
  ASSERT_EQ(seen.size(), static_cast<size_t>(kBlocks));
  for (int i = 0; i < kBlocks; ++i) EXPECT_EQ(seen[i], i);
}

}  // namespace
