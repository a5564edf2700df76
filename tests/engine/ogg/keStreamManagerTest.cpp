// The stream manager over two real libogg streams made of made-up packets:
// header pages first, then always the stream furthest behind, every page to
// every output, and each key page in the seek index at its true offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "MemoryOutputStream.h"
#include "ogg/OggStreamStateWrapper.h"
#include "OggTestStreams.h"
#include "orvexa/keAVSeekIndex.h"
#include "keEvent.h"
#include "ogg/keOggPage.h"
#include "ogg/keStreamManager.h"

namespace {

// What the manager took, in the order it took it.
struct TakenPage {
  int serial;
  int32_t units;
  bool key;
  int64_t keyPosition;
  bool eos;
  int64_t size;
};

// Passes the wrapper's pages through, noting every page taken.
class RecordingSource : public keOggPageSource {
 public:
  RecordingSource(OggStreamStateWrapper* wrapper, std::vector<TakenPage>* log) : wrapper_(wrapper), log_(log) {}
  int32_t GetHeaderPageCount() override { return wrapper_->GetHeaderPageCount(); }
  keOggPage* GetHeaderPage(int32_t i) override { return wrapper_->GetHeaderPage(i); }
  keOggPage* PeekPage() override { return wrapper_->PeekPage(); }
  keOggPage* TakePage() override {
    keOggPage* page = wrapper_->TakePage();
    log_->push_back({page->GetSerial(), page->GetUnitCount(), page->IsKey(), page->GetKeyPosition(),
                     page->IsEndOfStream(), page->GetSize()});
    return page;
  }

 private:
  OggStreamStateWrapper* wrapper_;
  std::vector<TakenPage>* log_;
};

struct StreamPlan {
  const char* name;
  int serial;
  int32_t numerator;
  int32_t denominator;
  int packets;
  int32_t unitsPerPacket;
  int keyEvery;  // 1: every packet is key
  bool fails = false;
};

const StreamPlan kAudio = {"Vorbis", 0, 1000, 44100, 130, 1024, 1};      // 44100 Hz, ~3 s
const StreamPlan kVideo = {"Theora", 1, 1000 * 1000, 25000, 75, 1, 12};  // 25 fps, 3 s

// An encoder as the manager sees it: on its own thread it sends three header
// packets, signals its set-up, then sends its data packets, the last one
// ending the stream. A failing one sends no headers and only an empty
// end-of-stream packet.
class FakeEncoder : public keEncoderStream {
 public:
  FakeEncoder(const StreamPlan& plan, std::vector<TakenPage>* log)
      : plan_(plan), wrapper_(plan.name, plan.serial), source_(&wrapper_, log), setup_(false, "setupCompletedEvent") {}
  ~FakeEncoder() override { Join(); }

  void Start() {
    thread_ = std::thread([this] { Run(); });
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  keEvent& GetSetupCompletedEvent() override { return setup_; }
  int32_t GetRateNumerator() override { return plan_.numerator; }
  int32_t GetRateDenominator() override { return plan_.denominator; }
  keOggPageSource* GetPageSource() override { return &source_; }
  bool HasFailed() override { return plan_.fails; }
  std::string GetFailureReason() override { return plan_.fails ? std::string(plan_.name) + " could not encode" : ""; }

  OggStreamStateWrapper& Wrapper() { return wrapper_; }
  /// Every packet sent, headers first; valid after Join.
  const std::vector<std::vector<uint8_t>>& Sent() const { return sent_; }

 private:
  void Run() {
    if (plan_.fails) {
      setup_.Set();
      FakeOggPacket end(0, 0, 0, 0, false, true);
      wrapper_.PacketIn(end.Get(), 0, false);
      sent_.push_back(end.Bytes());
      return;
    }
    const size_t headerSizes[3] = {30, 120, 2500};
    for (int i = 0; i < 3; ++i) {
      FakeOggPacket header(headerSizes[i], static_cast<uint8_t>(plan_.serial * 50 + i), i, 0, i == 0);
      wrapper_.HeaderPacketIn(header.Get());
      sent_.push_back(header.Bytes());
    }
    setup_.Set();
    int64_t granule = 0;
    for (int i = 0; i < plan_.packets; ++i) {
      const bool key = i % plan_.keyEvery == 0;
      const size_t bytes = plan_.keyEvery == 1 ? 300 + static_cast<size_t>(i % 9) * 50 : key ? 5000 : 1200;
      granule += plan_.unitsPerPacket;
      FakeOggPacket packet(bytes, static_cast<uint8_t>(i), 3 + i, granule, false, i == plan_.packets - 1);
      wrapper_.PacketIn(packet.Get(), plan_.unitsPerPacket, key);
      sent_.push_back(packet.Bytes());
    }
  }

  StreamPlan plan_;
  OggStreamStateWrapper wrapper_;
  RecordingSource source_;
  keEvent setup_;
  std::vector<std::vector<uint8_t>> sent_;
  std::thread thread_;
};

struct OrderCase {
  const char* name;
  std::vector<StreamPlan> plans;  // in order of registration
};

TEST(keStreamManager, InterleavesTwoStreamsByTimeAndIndexesEveryKeyPageWhereItLies) {
  const std::vector<OrderCase> cases = {
      {"Vorbis registered first", {kAudio, kVideo}},
      {"Theora registered first", {kVideo, kAudio}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TakenPage> taken;
    std::vector<std::unique_ptr<FakeEncoder>> encoders;
    for (const StreamPlan& plan : c.plans) encoders.push_back(std::make_unique<FakeEncoder>(plan, &taken));
    MemoryOutputStream first, second;
    std::vector<keSeekEntry> entries;
    {
      keStreamManager manager;
      for (auto& encoder : encoders) manager.AddStream(encoder.get());
      manager.AddOutput(&first);
      manager.AddOutput(&second);
      for (auto& encoder : encoders) encoder->Start();
      // Start twice, from two threads at once: one manager thread.
      std::thread otherStarter([&] { manager.Start(); });
      manager.Start();
      otherStarter.join();

      manager.GetSeekIndex()->WaitClosed();
      EXPECT_TRUE(manager.IsFinished());
      EXPECT_EQ(first.closeCount, 1);
      EXPECT_EQ(second.closeCount, 1);
      EXPECT_FALSE(manager.HasFailedStream());
      EXPECT_FALSE(manager.HasFailedOutput());
      EXPECT_EQ(manager.GetFailureReason(), "");
      entries = manager.GetSeekIndex()->GetEntries();
    }
    for (auto& encoder : encoders) encoder->Join();

    EXPECT_EQ(first.bytes, second.bytes) << "every page goes to every output";
    bool complete = false;
    std::vector<ParsedOggPage> pages = ParseOggPages(first.bytes, &complete);
    ASSERT_TRUE(complete);

    // Header pages: page 0 of each stream in registration order, then the
    // rest of each stream's header pages.
    std::vector<std::pair<size_t, int32_t>> headerOrder = {{0, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}};
    ASSERT_GE(pages.size(), headerOrder.size() + taken.size());
    int64_t headerBytes = 0;
    for (size_t i = 0; i < headerOrder.size(); ++i) {
      keOggPage* header = encoders[headerOrder[i].first]->Wrapper().GetHeaderPage(headerOrder[i].second);
      std::vector<uint8_t> bytes = header->GetHeader();
      bytes.insert(bytes.end(), header->GetBody().begin(), header->GetBody().end());
      EXPECT_EQ(pages[i].bytes, bytes) << "header page " << i;
      EXPECT_EQ(pages[i].bos, i < 2) << "header page " << i;
      headerBytes += header->GetSize();
    }
    ASSERT_EQ(pages.size(), headerOrder.size() + taken.size()) << "headers written once, then each page once";

    // Data pages: written in the order taken; each time the stream taken is
    // the one furthest behind, the earlier registered on a tie.
    std::map<int, int64_t> units;
    std::map<int, const StreamPlan*> plans;
    std::map<int, size_t> registered;
    std::vector<int> active;
    for (const StreamPlan& plan : c.plans) {
      plans[plan.serial] = &plan;
      registered[plan.serial] = active.size();
      active.push_back(plan.serial);
    }
    auto timeOf = [&](int serial) { return units[serial] * plans[serial]->numerator / plans[serial]->denominator; };
    std::map<int64_t, size_t> keyPageAt;  // offset -> index in `taken`
    for (size_t i = 0; i < taken.size(); ++i) {
      const TakenPage& page = taken[i];
      const ParsedOggPage& written = pages[headerOrder.size() + i];
      EXPECT_EQ(written.serial, page.serial) << "data page " << i;
      EXPECT_EQ(static_cast<int64_t>(written.size), page.size) << "data page " << i;
      for (int other : active) {
        if (other == page.serial) continue;
        if (registered[other] < registered[page.serial]) {
          EXPECT_LT(timeOf(page.serial), timeOf(other)) << "data page " << i << ": a tie goes to the earlier stream";
        } else {
          EXPECT_LE(timeOf(page.serial), timeOf(other)) << "data page " << i << ": not the stream furthest behind";
        }
      }
      if (page.key) keyPageAt[static_cast<int64_t>(written.offset)] = i;
      units[page.serial] += page.units;
      if (page.eos) active.erase(std::find(active.begin(), active.end(), page.serial));
    }
    EXPECT_TRUE(active.empty()) << "every stream was served to its end";
    EXPECT_EQ(units[0], static_cast<int64_t>(kAudio.packets) * kAudio.unitsPerPacket);
    EXPECT_EQ(units[1], static_cast<int64_t>(kVideo.packets) * kVideo.unitsPerPacket);

    // Nothing lost on the way.
    std::map<int, std::vector<std::vector<uint8_t>>> packets = ExtractOggPackets(first.bytes);
    for (auto& encoder : encoders) {
      const int serial = encoder->Wrapper().GetSerial();
      EXPECT_EQ(packets[serial], encoder->Sent()) << "stream " << serial;
    }

    // Every index entry points at the first byte of a key page of its stream.
    ASSERT_FALSE(entries.empty());
    EXPECT_GE(entries.front().offset, headerBytes);
    EXPECT_EQ(entries.front().offset, keyPageAt.begin()->first) << "the first key page is always kept";
    int64_t previous = -1;
    for (const keSeekEntry& entry : entries) {
      auto found = keyPageAt.find(entry.offset);
      ASSERT_NE(found, keyPageAt.end()) << "offset " << entry.offset << " is not where a key page starts";
      const TakenPage& page = taken[found->second];
      EXPECT_EQ(entry.serial, static_cast<uint32_t>(page.serial));
      EXPECT_EQ(entry.keyPosition, page.keyPosition);
      const StreamPlan* plan = plans[page.serial];
      EXPECT_EQ(entry.timeMs, page.keyPosition * plan->numerator / plan->denominator);
      EXPECT_GT(entry.offset, previous);
      previous = entry.offset;
    }
    std::set<uint32_t> serialsIndexed;
    for (const keSeekEntry& entry : entries) serialsIndexed.insert(entry.serial);
    EXPECT_EQ(serialsIndexed, (std::set<uint32_t>{0, 1}));
  }
}

// Reports a failure when it is closed, as a file that could not be flushed.
class FailingOutput : public MemoryOutputStream {
 public:
  void Close() override {
    SetFailed("disk full");
    MemoryOutputStream::Close();
  }
};

TEST(keStreamManager, AFailedStreamStillEndsAndIsReportedWithAFailedOutput) {
  std::vector<TakenPage> taken;
  StreamPlan broken = kVideo;
  broken.fails = true;
  broken.numerator = 0;
  broken.denominator = 0;  // a failed encoder may not know its rate
  FakeEncoder audio(kAudio, &taken), video(broken, &taken);
  MemoryOutputStream good;
  FailingOutput bad;
  keStreamManager manager;
  manager.AddStream(&audio);
  manager.AddStream(&video);
  manager.AddOutput(&good);
  manager.AddOutput(&bad);
  EXPECT_FALSE(manager.IsFinished());
  audio.Start();
  video.Start();
  manager.Start();
  manager.GetSeekIndex()->WaitClosed();

  EXPECT_TRUE(manager.IsFinished());
  EXPECT_TRUE(manager.HasFailedStream());
  EXPECT_TRUE(manager.HasFailedOutput());
  EXPECT_EQ(manager.GetFailureReason(), "Theora could not encode; disk full");
  EXPECT_EQ(good.closeCount, 1);
  EXPECT_EQ(bad.closeCount, 1);
  EXPECT_EQ(good.bytes, bad.bytes);
  audio.Join();
  EXPECT_EQ(ExtractOggPackets(good.bytes)[0], audio.Sent()) << "the sound stream is whole";
}

// Refuses every write, as a full disk does.
class RefusingOutput : public MemoryOutputStream {
 public:
  void Write(const uint8_t*, int32_t length) override {
    if (length > 0) SetFailed("No space left on device");
  }
};

// A failure while pages are written is told at once, and once, so that the
// owner can stop the encode; a stream or output registered after the start
// and a stream without a single unit of data are failures of the run too.
TEST(keStreamManager, FailuresShowWhileWritingAndLateOrEmptyStreamsAreReported) {
  std::vector<TakenPage> taken;
  FakeEncoder audio(kAudio, &taken), video(kVideo, &taken);
  RefusingOutput full;
  keStreamManager manager;
  std::vector<std::string> told;
  std::atomic<bool> toldBeforeClose{false};
  manager.SetFailureListener([&](const std::string& reason) {
    told.push_back(reason);
    toldBeforeClose = full.closeCount == 0;
  });
  manager.AddStream(&audio);
  manager.AddStream(&video);
  manager.AddOutput(&full);
  audio.Start();
  video.Start();
  manager.Start();
  FakeEncoder late(kAudio, &taken);
  MemoryOutputStream lateOutput;
  manager.AddStream(&late);
  manager.AddOutput(&lateOutput);
  manager.GetSeekIndex()->WaitClosed();
  EXPECT_EQ(told, std::vector<std::string>{"No space left on device"});
  EXPECT_TRUE(toldBeforeClose);
  const std::string reason = manager.GetFailureReason();
  EXPECT_NE(reason.find("a stream was added to a profile after its encode had started"), std::string::npos) << reason;
  EXPECT_NE(reason.find("an output was added to a profile after its encode had started"), std::string::npos) << reason;
  EXPECT_EQ(lateOutput.closeCount, 0);

  StreamPlan silent = kAudio;
  silent.packets = 1;
  silent.unitsPerPacket = 0;
  FakeEncoder empty(silent, &taken);
  MemoryOutputStream out;
  keStreamManager emptyManager;
  emptyManager.AddStream(&empty);
  emptyManager.AddOutput(&out);
  empty.Start();
  emptyManager.Start();
  emptyManager.GetSeekIndex()->WaitClosed();
  EXPECT_FALSE(emptyManager.HasFailedStream());
  EXPECT_EQ(emptyManager.GetEmptyStreamReason(), "its stream holds no data at all");
}

}  // namespace
