// The container header: property lists, head-content choice, layout and
// scrambling, checked against the test reader's unscrambler, written from the
// layout alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MemoryOutputStream.h"
#include "OrvexaContainerReader.h"
#include "keBytes.h"
#include "orvexa/keOrvexaWriter.h"

namespace {

// A content with a fixed data size and bitrate; records the calls it gets.
class FakeContent : public keAbstractOrvexaContent {
 public:
  FakeContent(std::string name, int64_t dataSize, int64_t bitrate, std::vector<std::string>* calls)
      : keAbstractOrvexaContent(nullptr),
        name_(std::move(name)),
        dataSize_(dataSize),
        bitrate_(bitrate),
        calls_(calls) {}

  void StartStreamManager() override { calls_->push_back("start " + name_); }
  void WaitStreamClosed() override { calls_->push_back("wait " + name_); }
  void AttachSeekIndex(keOrvexaWriter* writer) override {
    if (bitrate_ < 0) return;  // seek indexes attach nothing
    writer->AddContent(new FakeContent(name_ + "-index", 24, -1, calls_));
  }
  void SetContentId(int32_t id) override { contentId_ = id; }
  void FillHeaderProperties() override {
    AddProperty("content-id", std::to_string(contentId_).c_str());
    AddProperty("content-name", name_.c_str());
  }
  int64_t GetDataSize() override { return dataSize_; }
  void WriteData(keOutputStream*) override {}
  int64_t GetRequiredBitrate() override { return bitrate_; }
  int64_t GetDurationMs() override { return 0; }

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  int64_t dataSize_;
  int64_t bitrate_;
  std::vector<std::string>* calls_;
};

void Unscramble(std::vector<uint8_t>& b, int start, int end, const uint8_t* key) {
  UnscrambleOrvexaHeader(b.data(), static_cast<size_t>(start), static_cast<size_t>(end), key);
}

uint64_t ReadU64(const std::vector<uint8_t>& b, uint32_t& pos) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | b[pos++];
  return v;
}

std::vector<std::string> ReadList(const std::vector<uint8_t>& b, uint32_t& pos) {
  uint32_t count = GetU32(b.data(), &pos);
  std::vector<std::string> texts;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t length = GetU16(b.data(), &pos);
    texts.emplace_back(reinterpret_cast<const char*>(b.data() + pos), length);
    pos += length;
  }
  return texts;
}

TEST(keOrvexaPropertyList, SerializesAndParsesBack) {
  keOrvexaPropertyList list;
  EXPECT_EQ(list.SerializedSize(), 4);
  EXPECT_EQ(list.AddProperty("vendor", "Harwelco"), 1);
  EXPECT_EQ(list.AddProperty("empty", ""), 2);
  EXPECT_EQ(list.SerializedSize(), 4 + (15 + 2) + (6 + 2));

  std::vector<uint8_t> buffer(list.SerializedSize());
  uint32_t pos = 0;
  list.Serialize(buffer.data(), &pos);
  EXPECT_EQ(pos, buffer.size());
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 6), (std::vector<uint8_t>{0, 0, 0, 2, 0, 15}));

  keOrvexaPropertyList parsed;
  pos = 0;
  parsed.Parse(buffer.data(), &pos);
  ASSERT_EQ(parsed.Count(), 2);
  EXPECT_EQ(parsed.GetProperty(0), "vendor=Harwelco");
  EXPECT_EQ(parsed.GetProperty(1), "empty=");
}

TEST(keOrvexaWriter, HeaderSizeCountsEveryPart) {
  MemoryOutputStream out;
  keOrvexaWriter writer(&out);
  // 64 fixed bytes, an empty list's count, the content count and "eoh".
  EXPECT_EQ(writer.HeaderSize(), 64 + 4 + 4 + 3);
  writer.AddProperty("a", "b");  // "a=b": 3 + 2
  EXPECT_EQ(writer.HeaderSize(), 75 + 5);
  std::vector<std::string> calls;
  writer.AddContent(new FakeContent("x", 10, 1, &calls));
  EXPECT_EQ(writer.HeaderSize(), 80 + 16 + 4);
  writer.WriteHeader();
  EXPECT_EQ(static_cast<int>(out.bytes.size()), writer.HeaderSize()) << "every byte of the buffer is written";
}

struct HeadCase {
  std::vector<int64_t> bitrates;
  std::string expectedHead;
};

TEST(keOrvexaWriter, MovesTheContentClosestToTheTargetBitrateToTheHead) {
  const std::vector<HeadCase> cases = {
      {{200000, 600000, 400000}, "c2"},  // 10000 from 390000
      {{380000, 400000}, "c0"},          // a tie: the first stays
      {{0, 0}, "c0"},                    // nothing chosen: order unchanged
      {{100000, 390000}, "c1"},
  };
  for (const auto& c : cases) {
    MemoryOutputStream out;
    keOrvexaWriter writer(&out);
    std::vector<std::string> calls;
    for (size_t i = 0; i < c.bitrates.size(); ++i)
      writer.AddContent(new FakeContent("c" + std::to_string(i), 100, c.bitrates[i], &calls));
    writer.WriteHeader();
    auto* head = static_cast<FakeContent*>(writer.GetContent(0));
    EXPECT_EQ(head->Name(), c.expectedHead);
    // Seek indexes (bitrate -1) keep their places behind the contents.
    EXPECT_EQ(static_cast<FakeContent*>(writer.GetContent(writer.ContentCount() - 1))->Name(),
              "c" + std::to_string(c.bitrates.size() - 1) + "-index");
  }
}

TEST(keOrvexaWriter, WritesTheWholeLayoutUnderTheScrambling) {
  MemoryOutputStream out;
  keOrvexaWriter writer(&out);
  writer.AddProperty("vendor", "Harwelco");
  std::vector<std::string> calls;
  writer.AddContent(new FakeContent("ADSL1", 5000, 200000, &calls));
  writer.AddContent(new FakeContent("MEGA", 7000, 395000, &calls));
  writer.WriteHeader();
  ASSERT_TRUE(writer.HeaderWritten());

  EXPECT_EQ(calls, (std::vector<std::string>{"start ADSL1", "start MEGA", "start ADSL1-index", "start MEGA-index",
                                             "wait ADSL1", "wait MEGA", "wait ADSL1-index", "wait MEGA-index"}));

  std::vector<uint8_t> b = out.bytes;
  const int size = writer.HeaderSize();
  ASSERT_EQ(static_cast<int>(b.size()), size);
  ASSERT_GT(size - 64, 128) << "the test needs at least one swap block";
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "orvexa");
  uint32_t pos = 6;
  EXPECT_EQ(GetU32(b.data(), &pos), 1u);
  EXPECT_EQ(GetU32(b.data(), &pos), 5u);
  EXPECT_EQ(ReadU64(b, pos), static_cast<uint64_t>(size));
  EXPECT_EQ(GetU16(b.data(), &pos), 1u);
  std::vector<uint8_t> key(b.begin() + 24, b.begin() + 64);

  Unscramble(b, 64, size, key.data());
  pos = 64;
  EXPECT_EQ(ReadList(b, pos),
            (std::vector<std::string>{"vendor=Harwelco", "security-model=2", "use-security=false", "encoder-type=0",
                                      "feature-mask=0000000000000000-0000000000000000-0000000000000000"}));
  EXPECT_EQ(GetU32(b.data(), &pos), 4u);

  // MEGA (5000 from the target) leads; ids keep the order they were given in.
  struct Entry {
    uint64_t start, end;
    std::vector<std::string> properties;
  };
  const std::vector<Entry> expected = {
      {uint64_t(size), uint64_t(size) + 7000, {"content-id=1", "content-name=MEGA"}},
      {uint64_t(size) + 7000, uint64_t(size) + 12000, {"content-id=0", "content-name=ADSL1"}},
      {uint64_t(size) + 12000, uint64_t(size) + 12024, {"content-id=2", "content-name=ADSL1-index"}},
      {uint64_t(size) + 12024, uint64_t(size) + 12048, {"content-id=3", "content-name=MEGA-index"}},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(ReadU64(b, pos), e.start);
    EXPECT_EQ(ReadU64(b, pos), e.end);
    EXPECT_EQ(ReadList(b, pos), e.properties);
  }
  EXPECT_EQ(std::string(b.begin() + pos, b.end()), "eoh");
}

TEST(keOrvexaWriter, ScramblingKeepsTheFirst64BytesAndInvertsExactly) {
  struct Case {
    int tail;  // bytes after offset 64
  };
  for (Case c : {Case{100}, Case{200}, Case{1000}, Case{128}}) {
    std::vector<uint8_t> key(40);
    for (int i = 0; i < 40; ++i) key[i] = static_cast<uint8_t>(255 - i * 5);
    std::vector<uint8_t> original(64 + c.tail);
    for (size_t i = 0; i < original.size(); ++i) original[i] = static_cast<uint8_t>(i * 31 + 7);
    std::vector<uint8_t> b = original;
    keOrvexaWriter::ScrambleHeader(b.data(), 64, 64 + c.tail, 1, key.data());
    EXPECT_TRUE(std::equal(b.begin(), b.begin() + 64, original.begin()));
    EXPECT_NE(b, original);

    // Below 128 bytes there are no swaps: the XOR pass alone.
    if (c.tail < 128) {
      for (int i = 64, k = 39; i < 64 + c.tail; ++i, k = (k + 39) % 40) ASSERT_EQ(b[i], original[i] ^ key[k]) << i;
    }
    Unscramble(b, 64, 64 + c.tail, key.data());
    EXPECT_EQ(b, original) << c.tail;
  }
}

TEST(keOrvexaWriter, AbortBeforeTheRunWritesNoHeader) {
  MemoryOutputStream out;
  keOrvexaWriter writer(&out);
  std::vector<std::string> calls;
  writer.AddContent(new FakeContent("c0", 100, 100000, &calls));
  writer.SetAbort(true);
  writer.WriteHeader();
  EXPECT_TRUE(out.bytes.empty());
  EXPECT_FALSE(writer.HeaderWritten());
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(writer.ContentCount(), 1);
}

TEST(keOrvexaWriter, HeaderKeysDifferBetweenFiles) {
  std::vector<uint8_t> keys[2];
  for (auto& key : keys) {
    MemoryOutputStream out;
    keOrvexaWriter writer(&out);
    writer.WriteHeader();
    key.assign(out.bytes.begin() + 24, out.bytes.begin() + 64);
  }
  EXPECT_NE(keys[0], keys[1]);
}

}  // namespace
