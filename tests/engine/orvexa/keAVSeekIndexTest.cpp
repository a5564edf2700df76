// The seek index: its serialised block and how it thins its runs on Close.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "MemoryOutputStream.h"
#include "orvexa/keAVSeekIndex.h"
#include "keBytes.h"
#include "keEvent.h"

namespace {

constexpr uint32_t kNegativeWaitMs = 50;

uint64_t U64At(const std::vector<uint8_t>& bytes, size_t at) {
  uint64_t value = 0;
  for (size_t i = 0; i < 8; ++i) value = value << 8 | bytes[at + i];
  return value;
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t pos = static_cast<uint32_t>(at);
  return GetU32(bytes.data(), &pos);
}

TEST(keAVSeekIndex, EmptyIndexIsTheHeadAlone) {
  keAVSeekIndex index;
  index.Close();
  EXPECT_EQ(index.GetSize(), 24);
  MemoryOutputStream out;
  index.Write(&out, 0);
  const std::vector<uint8_t> head = {'A', 'V', 'S', 'e', 'e', 'k', 'I', 'n', 'd', 'e', 'x', 0,
                                     0,   0,   0,   1,   0,   0,   0,   0,   0,   0,   0,   0};
  EXPECT_EQ(out.bytes, head);
}

TEST(keAVSeekIndex, WritesEveryEntryBigEndianWithTheBaseAdded) {
  keAVSeekIndex index;
  index.AddEntry(5000, 1, 0x0102030405LL, 40);
  index.AddEntry(0x1122334455667788LL, 0, 44100, 1000);
  EXPECT_EQ(index.GetSize(), 24 + 2 * 28);

  MemoryOutputStream out;
  index.Write(&out, 0);
  EXPECT_EQ(out.writeSizes, (std::vector<int32_t>{24, 28, 28})) << "the head, then one write per entry";
  ASSERT_EQ(out.bytes.size(), 80u);
  EXPECT_EQ(U32At(out.bytes, 20), 2u);
  EXPECT_EQ(U64At(out.bytes, 24), 5000u);
  EXPECT_EQ(U32At(out.bytes, 32), 1u);
  EXPECT_EQ(U64At(out.bytes, 36), 0x0102030405u);
  EXPECT_EQ(U64At(out.bytes, 44), 40u);
  EXPECT_EQ(U64At(out.bytes, 52), 0x1122334455667788u);
  EXPECT_EQ(U32At(out.bytes, 60), 0u);
  EXPECT_EQ(U64At(out.bytes, 64), 44100u);
  EXPECT_EQ(U64At(out.bytes, 72), 1000u);

  MemoryOutputStream based;
  index.Write(&based, 300);
  EXPECT_EQ(U64At(based.bytes, 24), 5300u);
  EXPECT_EQ(U64At(based.bytes, 36), 0x0102030405u) << "only offsets move with the base";
}

struct ThinCase {
  std::vector<uint32_t> serials;
  std::vector<int> kept;  // positions in `serials` that stay
};

TEST(keAVSeekIndex, CloseKeepsTheEndsOfEveryRunAndOnlyTheStartOfTheLast) {
  const std::vector<ThinCase> cases = {
      {{}, {}},
      {{0}, {0}},
      {{1, 1}, {0}},
      {{1, 1, 1, 1, 0, 1, 1}, {0, 3, 4, 5}},
      {{0, 1, 0, 1}, {0, 1, 2, 3}},
      {{1, 1, 1, 1, 1}, {0}},
      {{0, 0, 1}, {0, 1, 2}},
      {{0, 0, 0, 1, 1, 1, 0}, {0, 2, 3, 5, 6}},
  };
  for (const ThinCase& c : cases) {
    std::string name;
    for (uint32_t serial : c.serials) name += std::to_string(serial) + " ";
    SCOPED_TRACE("serials " + name);
    keAVSeekIndex index;
    for (size_t i = 0; i < c.serials.size(); ++i)
      index.AddEntry(static_cast<int64_t>(i), c.serials[i], static_cast<int64_t>(i) * 10,
                     static_cast<int64_t>(i) * 100);
    index.Close();
    std::vector<int> kept;
    for (const keSeekEntry& entry : index.GetEntries()) {
      kept.push_back(static_cast<int>(entry.offset));
      EXPECT_EQ(entry.serial, c.serials[static_cast<size_t>(entry.offset)]);
      EXPECT_EQ(entry.keyPosition, entry.offset * 10);
      EXPECT_EQ(entry.timeMs, entry.offset * 100);
    }
    EXPECT_EQ(kept, c.kept);
    EXPECT_EQ(index.GetSize(), 24 + 28 * static_cast<int64_t>(c.kept.size()));
    index.Close();  // a second Close thins nothing more
    EXPECT_EQ(index.GetEntries().size(), c.kept.size());
  }
}

TEST(keAVSeekIndex, WaitClosedReturnsOnlyAfterClose) {
  keAVSeekIndex index;
  index.AddEntry(1, 0, 0, 0);
  keEvent woke(false, "test");
  std::thread reader([&] {
    index.WaitClosed();
    woke.Set();
  });
  EXPECT_FALSE(woke.Wait(kNegativeWaitMs));
  EXPECT_FALSE(index.IsClosed());
  index.Close();
  reader.join();
  EXPECT_TRUE(index.IsClosed());
  index.WaitClosed();  // at once, once closed
}

}  // namespace
