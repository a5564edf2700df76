// The Ogg wrapper over real libogg, fed with made-up packets: header pages
// kept apart, units per page, and where the key flag lands.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "MemoryOutputStream.h"
#include "ogg/OggStreamStateWrapper.h"
#include "OggTestStreams.h"
#include "ogg/keOggPage.h"

namespace {

struct Packet {
  size_t bytes;
  int32_t units;
  bool key;
  bool eos;
};

struct ExpectedPage {
  int32_t units;
  bool key;
  int64_t keyPosition;
  bool eos;
};

struct WrapperCase {
  const char* name;
  std::vector<Packet> packets;
  std::vector<ExpectedPage> pages;
};

// Identification, comment and set-up headers of made-up sizes.
const std::vector<size_t> kHeaderSizes = {30, 200, 3000};

std::vector<FakeOggPacket> HeaderPackets() {
  std::vector<FakeOggPacket> headers;
  for (size_t i = 0; i < kHeaderSizes.size(); ++i)
    headers.emplace_back(kHeaderSizes[i], static_cast<uint8_t>(100 + i), static_cast<int64_t>(i), 0, i == 0);
  return headers;
}

TEST(OggStreamStateWrapper, HeaderPagesAreKeptApartInTheOrderFlushed) {
  OggStreamStateWrapper wrapper("Vorbis", 5);
  std::vector<FakeOggPacket> headers = HeaderPackets();
  for (FakeOggPacket& header : headers) wrapper.HeaderPacketIn(header.Get());

  ASSERT_EQ(wrapper.GetHeaderPageCount(), 3);
  EXPECT_EQ(wrapper.GetQueuedPageCount(), 0u) << "header packets never reach the page queue";
  EXPECT_EQ(wrapper.GetHeaderPage(3), nullptr);
  EXPECT_EQ(wrapper.GetHeaderPage(-1), nullptr);
  MemoryOutputStream out;
  for (int32_t i = 0; i < 3; ++i) {
    keOggPage* page = wrapper.GetHeaderPage(i);
    EXPECT_EQ(page->GetSerial(), 5);
    EXPECT_EQ(page->GetUnitCount(), 0);
    EXPECT_FALSE(page->IsKey());
    EXPECT_EQ(page->GetBody(), headers[static_cast<size_t>(i)].Bytes()) << "one page per header packet";
    page->WriteTo(&out);
  }
  bool complete = false;
  std::vector<ParsedOggPage> parsed = ParseOggPages(out.bytes, &complete);
  EXPECT_TRUE(complete);
  ASSERT_EQ(parsed.size(), 3u);
  EXPECT_TRUE(parsed[0].bos);
  EXPECT_FALSE(parsed[1].bos);
}

TEST(OggStreamStateWrapper, PagesCarryTheirUnitsAndTheFirstPageAfterAKeyIsMarked) {
  const std::vector<WrapperCase> cases = {
      {"three packets complete one page, the second is key",
       {{100, 1024, false, false}, {100, 1024, true, false}, {100, 512, false, true}},
       {{2560, true, 1024, true}}},
      {"a second key while one is pending changes nothing",
       {{100, 1024, true, false}, {100, 1024, true, false}, {100, 512, false, true}},
       {{2560, true, 0, true}}},
      {"the units of earlier pages count in the key position",
       {{1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, true, false},
        {10, 50, false, true}},
       {{400, false, 0, false}, {250, true, 500, true}}},
      {"a key packet that pushes out a page marks that page",
       {{1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, false, false},
        {1100, 100, true, false},
        {10, 50, false, true}},
       {{400, true, 400, false}, {150, false, 0, true}}},
      {"a packet's units go to the page it completes on; the key to the page it starts on",
       {{70000, 100, true, false}, {10, 50, false, true}},
       {{0, true, 0, false}, {150, false, 0, true}}},
  };
  for (const WrapperCase& c : cases) {
    SCOPED_TRACE(c.name);
    OggStreamStateWrapper wrapper("Theora", 1);
    std::vector<FakeOggPacket> headers = HeaderPackets();
    for (FakeOggPacket& header : headers) wrapper.HeaderPacketIn(header.Get());

    std::vector<FakeOggPacket> packets;
    int64_t granule = 0;
    for (size_t i = 0; i < c.packets.size(); ++i) {
      const Packet& p = c.packets[i];
      granule += p.units;
      packets.emplace_back(p.bytes, static_cast<uint8_t>(i), static_cast<int64_t>(3 + i), granule, false, p.eos);
      wrapper.PacketIn(packets.back().Get(), p.units, p.key);
    }
    ASSERT_EQ(wrapper.GetQueuedPageCount(), c.pages.size());

    MemoryOutputStream out;
    for (int32_t i = 0; i < wrapper.GetHeaderPageCount(); ++i) wrapper.GetHeaderPage(i)->WriteTo(&out);
    for (size_t i = 0; i < c.pages.size(); ++i) {
      keOggPage* peeked = wrapper.PeekPage();
      std::unique_ptr<keOggPage> page(wrapper.TakePage());
      ASSERT_EQ(page.get(), peeked);
      const ExpectedPage& want = c.pages[i];
      EXPECT_EQ(page->GetUnitCount(), want.units) << "page " << i;
      EXPECT_EQ(page->IsKey(), want.key) << "page " << i;
      EXPECT_EQ(page->GetKeyPosition(), want.keyPosition) << "page " << i;
      EXPECT_EQ(page->IsEndOfStream(), want.eos) << "page " << i;
      EXPECT_EQ(page->GetSerial(), 1);
      page->WriteTo(&out);
    }

    // Nothing lost or reordered on the way through libogg.
    std::vector<std::vector<uint8_t>> sent;
    for (const FakeOggPacket& p : headers) sent.push_back(p.Bytes());
    for (const FakeOggPacket& p : packets) sent.push_back(p.Bytes());
    EXPECT_EQ(ExtractOggPackets(out.bytes)[1], sent);
  }
}

TEST(OggStreamStateWrapper, EncoderAndManagerThreadsShareIt) {
  // The encoder thread puts packets in while the manager thread takes pages
  // out; every unit put in must come out on exactly one page.
  constexpr int kPackets = 400;
  OggStreamStateWrapper wrapper("Vorbis", 0);
  std::vector<FakeOggPacket> headers = HeaderPackets();
  for (FakeOggPacket& header : headers) wrapper.HeaderPacketIn(header.Get());

  int64_t unitsIn = 0;
  std::thread encoder([&] {
    int64_t granule = 0;
    for (int i = 0; i < kPackets; ++i) {
      const int32_t units = i % 3 == 0 ? 1024 : 128;
      granule += units;
      FakeOggPacket packet(100 + static_cast<size_t>(i % 11) * 50, static_cast<uint8_t>(i), 3 + i, granule, false,
                           i == kPackets - 1);
      wrapper.PacketIn(packet.Get(), units, true);
      unitsIn += units;
    }
  });
  int64_t unitsOut = 0;
  int pages = 0;
  for (;;) {
    std::unique_ptr<keOggPage> page(wrapper.TakePage());
    unitsOut += page->GetUnitCount();
    ++pages;
    EXPECT_TRUE(page->IsKey()) << "every packet is a key: every page is marked";
    if (page->IsEndOfStream()) break;
  }
  encoder.join();
  EXPECT_GT(pages, 1);
  EXPECT_EQ(unitsOut, unitsIn);
  EXPECT_EQ(wrapper.GetQueuedPageCount(), 0u);
}

}  // namespace
