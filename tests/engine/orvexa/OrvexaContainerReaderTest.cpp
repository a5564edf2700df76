// The test-side container reader against files made by the engine's real
// header writer and crx stream: a sound file reads back in full without a
// complaint, and damaged files are reported with the damage named.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <ogg/ogg.h>

#include "MemoryOutputStream.h"
#include "OggDecodeCheck.h"
#include "OggTestStreams.h"
#include "OrvexaContainerReader.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "orvexa/keAVSeekIndex.h"
#include "keAlloc.h"
#include "keBytes.h"
#include "orvexa/keCryptedCrxOutputStream.h"
#include "orvexa/keFileOutputStream.h"
#include "orvexa/keOrvexaWriter.h"

namespace {

using Properties = std::vector<std::pair<std::string, std::string>>;

// One profile's clear Ogg data and the key pages the stream manager would
// have recorded for it.
struct OggData {
  std::vector<uint8_t> bytes;
  std::vector<keSeekEntry> keyPages;
};

class OggStream {
 public:
  explicit OggStream(int serial) { ogg_stream_init(&state_, serial); }
  ~OggStream() { ogg_stream_clear(&state_); }
  OggStream(const OggStream&) = delete;
  OggStream& operator=(const OggStream&) = delete;

  // One packet, flushed as a page of its own.
  std::vector<uint8_t> Page(FakeOggPacket packet) {
    ogg_stream_packetin(&state_, packet.Get());
    ogg_page page;
    std::vector<uint8_t> bytes;
    while (ogg_stream_flush(&state_, &page)) {
      bytes.insert(bytes.end(), page.header, page.header + page.header_len);
      bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    }
    return bytes;
  }

 private:
  ogg_stream_state state_;
};

// Serial 0 and serial 1, a BOS page each, then data pages taking turns, each
// page a key page at granule = packet number × 100 (ms = granule / 10).
OggData MakeOggData(int packets, size_t packetSize, bool endStreams = true) {
  OggData data;
  OggStream streams[2] = {OggStream(0), OggStream(1)};
  for (int serial = 0; serial < 2; ++serial) {
    std::vector<uint8_t> page = streams[serial].Page(FakeOggPacket(30, static_cast<uint8_t>(serial), 0, 0, true));
    data.bytes.insert(data.bytes.end(), page.begin(), page.end());
  }
  for (int i = 1; i <= packets; ++i)
    for (int serial = 0; serial < 2; ++serial) {
      const int64_t granule = i * 100;
      const bool eos = endStreams && i == packets;
      std::vector<uint8_t> page = streams[serial].Page(
          FakeOggPacket(packetSize + static_cast<size_t>(i % 7) * 61, static_cast<uint8_t>(i), i, granule, false, eos));
      data.keyPages.push_back(
          {static_cast<int64_t>(data.bytes.size()), static_cast<uint32_t>(serial), granule, granule / 10});
      data.bytes.insert(data.bytes.end(), page.begin(), page.end());
    }
  return data;
}

// Encrypts page by page in a header write and a body write, as pages reach
// the temporary file, so the key stream has to run on across writes of
// every size, some above the 1024-byte chunk.
std::vector<uint8_t> Encrypt(const std::vector<uint8_t>& ogg, const std::string& key) {
  MemoryOutputStream inner;
  std::unique_ptr<keOutputStream> crx(keCreateCrxStream(0, key.c_str(), static_cast<int32_t>(key.size()), &inner));
  bool complete = false;
  for (const ParsedOggPage& page : ParseOggPages(ogg, &complete)) {
    const int32_t header = 27 + page.bytes[26];
    crx->Write(page.bytes.data(), header);
    crx->Write(page.bytes.data() + header, static_cast<int32_t>(page.bytes.size()) - header);
  }
  return inner.bytes;
}

std::string RandomKeyText() {
  uint8_t* bytes = RandomBytes(8);
  char* hex = BytesToHex(bytes, 8);
  std::string text(hex);
  keFree(bytes);
  keFree(hex);
  return text;
}

class FakeSeekIndexContent : public keAbstractOrvexaContent {
 public:
  explicit FakeSeekIndexContent(std::unique_ptr<keAVSeekIndex> index)
      : keAbstractOrvexaContent(nullptr), index_(std::move(index)) {}
  void StartStreamManager() override {}
  void WaitStreamClosed() override {}
  void AttachSeekIndex(keOrvexaWriter*) override {}
  void SetContentId(int32_t id) override { contentId_ = id; }
  void SetRefId(int32_t id) { refId_ = id; }
  void FillHeaderProperties() override {
    AddProperty("content-id", std::to_string(contentId_).c_str());
    AddProperty("content-type", "kestrin-av-seek-index");
    AddProperty("content-ref-id", std::to_string(refId_).c_str());
    AddProperty("content-name", "Seek Index");
  }
  int64_t GetDataSize() override { return index_->GetSize(); }
  void WriteData(keOutputStream* out) override { index_->Write(out, 0); }
  int64_t GetRequiredBitrate() override { return -1; }
  int64_t GetDurationMs() override { return 0; }

 private:
  std::unique_ptr<keAVSeekIndex> index_;
  int32_t refId_ = -1;
};

struct Profile {
  std::string name;
  int audioBitrate = 0;  // 0: no audio properties
  int videoBitrate = 0;  // 0: no video properties
  OggData ogg;
  bool thinIndex = true;
  std::function<void(Properties&)> editProperties;  // spoils the table on purpose
};

// A profile's crx-encrypted Ogg data with the properties a profile carries.
class FakeAvContent : public keAbstractOrvexaContent {
 public:
  explicit FakeAvContent(Profile profile)
      : keAbstractOrvexaContent(nullptr),
        profile_(std::move(profile)),
        key_(RandomKeyText()),
        data_(Encrypt(profile_.ogg.bytes, key_)) {}
  void StartStreamManager() override {}
  void WaitStreamClosed() override {}
  void AttachSeekIndex(keOrvexaWriter* writer) override {
    auto index = std::make_unique<keAVSeekIndex>();
    for (const keSeekEntry& e : profile_.ogg.keyPages) index->AddEntry(e.offset, e.serial, e.keyPosition, e.timeMs);
    if (profile_.thinIndex) index->Close();
    seekIndex_ = new FakeSeekIndexContent(std::move(index));
    writer->AddContent(seekIndex_);
  }
  void SetContentId(int32_t id) override {
    contentId_ = id;
    seekIndex_->SetRefId(id);
  }
  void FillHeaderProperties() override {
    Properties p = {
        {"content-id", std::to_string(contentId_)}, {"content-type", "kestrin-av"}, {"content-name", profile_.name}};
    if (profile_.audioBitrate)
      p.insert(p.end(), {{"audio-bitrate", std::to_string(profile_.audioBitrate)},
                         {"audio-channels", "2"},
                         {"audio-sample-rate", "44100"}});
    if (profile_.videoBitrate)
      p.insert(p.end(), {{"video-bitrate", std::to_string(profile_.videoBitrate)},
                         {"video-width", "320"},
                         {"video-height", "240"},
                         {"video-fps-num", "12500"},
                         {"video-fps-den", "1000"},
                         {"video-description", ""}});
    p.insert(p.end(), {{"required-bitrate", std::to_string(GetRequiredBitrate())},
                       {"content-duration", "4000"},
                       {"encryption-mode", "crx"},
                       {"encryption-key", key_}});
    if (profile_.editProperties) profile_.editProperties(p);
    for (const auto& [key, value] : p) AddProperty(key.c_str(), value.c_str());
  }
  int64_t GetDataSize() override { return static_cast<int64_t>(data_.size()); }
  void WriteData(keOutputStream* out) override {
    for (size_t at = 0; at < data_.size(); at += 1024)
      out->Write(data_.data() + at, static_cast<int32_t>(std::min<size_t>(1024, data_.size() - at)));
  }
  int64_t GetRequiredBitrate() override { return profile_.audioBitrate + profile_.videoBitrate; }
  int64_t GetDurationMs() override { return 4000; }

 private:
  Profile profile_;
  std::string key_;
  std::vector<uint8_t> data_;
  FakeSeekIndexContent* seekIndex_ = nullptr;  // owned by the writer
};

// The container as the output thread writes it: header, every content's
// data in table order, padding.
std::vector<uint8_t> WriteContainer(const TempDir& dir, std::vector<Profile> profiles) {
  const std::string path = dir.File("out.orv");
  keFileOutputStream file(path.c_str());
  {
    keOrvexaWriter writer(&file);
    writer.AddProperty("vendor", "Harwelco");
    writer.AddProperty("encoder-version", "3");
    for (Profile& profile : profiles) writer.AddContent(new FakeAvContent(std::move(profile)));
    writer.WriteHeader();
    for (int32_t i = 0; i < writer.ContentCount(); ++i) writer.GetContent(i)->WriteData(&file);
    file.Pad(static_cast<uint32_t>(writer.HeaderSize()));
  }
  file.Close();
  return ReadWholeFileBytes(path);
}

Profile MakeProfile(std::string name, int audioBitrate, int videoBitrate, int packets = 12, size_t packetSize = 700) {
  Profile p;
  p.name = std::move(name);
  p.audioBitrate = audioBitrate;
  p.videoBitrate = videoBitrate;
  p.ogg = MakeOggData(packets, packetSize);
  return p;
}

bool HasErrorContaining(const OrvexaContainer& c, const std::string& text) {
  for (const std::string& e : c.errors)
    if (e.find(text) != std::string::npos) return true;
  return false;
}

TEST(OrvexaContainerReader, DecryptsTheLayoutOfTheLastKeyByteFirst) {
  // Byte 0 takes the last key byte, byte 1 the one before, and so on round.
  const std::vector<uint8_t> zeros(5, 0);
  std::string error;
  EXPECT_EQ(CrxDecrypt(zeros.data(), zeros.size(), "0a0B0c", &error),
            (std::vector<uint8_t>{0x0c, 0x0b, 0x0a, 0x0c, 0x0b}));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(CrxDecrypt(zeros.data(), zeros.size(), "0a0", &error), zeros);
  EXPECT_FALSE(error.empty());
}

TEST(OrvexaContainerReader, ReadsBackEverythingTheWriterPutIn) {
  struct Case {
    const char* what;
    std::vector<Profile> profiles;
    std::vector<int> expectedOrder;  // ids in file order
  };
  std::vector<Case> cases;
  // MEGA (395000) is closest to the target and leads; ADSL1 has no audio.
  cases.push_back({"two profiles, short data, padded",
                   {MakeProfile("ADSL1", 0, 200000), MakeProfile("MEGA", 95000, 300000)},
                   {1, 0, 2, 3}});
  // More data than header + 512 KiB: nothing is padded.
  cases.push_back({"one long profile", {MakeProfile("Modem", 32000, 0, 220, 1300)}, {0, 1}});
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<OggData> sent;
    for (const Profile& p : c.profiles) sent.push_back(p.ogg);
    TempDir dir;
    const std::vector<uint8_t> file = WriteContainer(dir, std::move(c.profiles));
    const OrvexaContainer read = ReadOrvexaContainer(file);
    EXPECT_TRUE(read.errors.empty()) << read.ErrorText();

    EXPECT_EQ(read.fileSize, file.size());
    EXPECT_EQ(read.HeaderProperty("vendor"), "Harwelco");
    EXPECT_EQ(read.headerProperties.size(), 6u);
    std::vector<int> order;
    for (const OrvexaContent& content : read.contents) order.push_back(content.id);
    EXPECT_EQ(order, c.expectedOrder);

    const std::vector<const OrvexaContent*> avs = read.AudioVideoContents();
    ASSERT_EQ(avs.size(), sent.size());
    for (size_t i = 0; i < avs.size(); ++i) {
      EXPECT_EQ(avs[i]->oggBytes, sent[i].bytes) << "decrypted data of profile " << i;
      EXPECT_EQ(avs[i]->streams.size(), 2u);
      const OrvexaContent* index = read.SeekIndexFor(avs[i]->id);
      ASSERT_NE(index, nullptr);
      // Turns of one page per stream leave runs of one: nothing is thinned
      // but the final entry's run, which is kept.
      ASSERT_EQ(index->seekEntries.size(), sent[i].keyPages.size());
      for (size_t k = 0; k < sent[i].keyPages.size(); ++k) {
        EXPECT_EQ(index->seekEntries[k].offset, static_cast<uint64_t>(sent[i].keyPages[k].offset));
        EXPECT_EQ(index->seekEntries[k].timeMs, static_cast<uint64_t>(sent[i].keyPages[k].timeMs));
      }
    }
    EXPECT_EQ(read.contents.front().start, read.headerSize);
    const uint64_t dataEnd = read.contents.back().end;
    if (dataEnd >= read.headerSize + kOrvexaMinimumTail) EXPECT_EQ(file.size(), dataEnd);
    else EXPECT_GE(file.size(), read.headerSize + kOrvexaMinimumTail);
  }
}

TEST(OrvexaContainerReader, NamesTheDamageInASpoiltFile) {
  TempDir dir;
  const std::vector<uint8_t> good =
      WriteContainer(dir, {MakeProfile("ADSL1", 32000, 200000), MakeProfile("MEGA", 95000, 300000)});
  const OrvexaContainer layout = ReadOrvexaContainer(good);
  ASSERT_TRUE(layout.errors.empty()) << layout.ErrorText();
  const OrvexaContent& head = layout.contents[0];
  const OrvexaContent& index = *layout.SeekIndexFor(head.id);

  using Bytes = std::vector<uint8_t>;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> spoil;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"cut inside the head content's data", [&](Bytes& b) { b.resize(head.start + head.oggBytes.size() / 2); },
       "past the end of the file"},
      {"cut inside the fixed head", [](Bytes& b) { b.resize(50); }, "fewer than the 64"},
      {"cut inside the padding", [](Bytes& b) { b.resize(b.size() - 1024); }, "should be padded to"},
      {"a block too many", [](Bytes& b) { b.resize(b.size() + 1024, 0); }, "should be padded to"},
      {"a byte in the padding", [](Bytes& b) { b[b.size() - 5] = 1; }, "non-zero byte"},
      {"a wrong magic", [](Bytes& b) { b[0] = 'O'; }, "does not begin with \"orvexa\""},
      {"a flipped byte in a page body", [&](Bytes& b) { b[head.start + head.pages[5].offset + 40] ^= 0x20; },
       "are not a sound Ogg page"},
      {"a seek entry one byte off its page", [&](Bytes& b) { b[index.start + 24 + 28 * 3 + 7] += 1; },
       "is not the start of a page"},
      {"a seek entry naming the other stream", [&](Bytes& b) { b[index.start + 24 + 28 * 3 + 11] ^= 1; },
       "points at a page of serial"},
      {"a seek entry going back in time",
       [&](Bytes& b) {
         b[index.start + 24 + 28 * 4 + 27] = 0;
         b[index.start + 24 + 28 * 4 + 26] = 0;
       },
       "goes back in time"},
      {"a seek index with a wrong count", [&](Bytes& b) { b[index.start + 23] += 1; }, "entries need"},
  };
  for (const Case& c : cases) {
    Bytes spoilt = good;
    c.spoil(spoilt);
    const OrvexaContainer read = ReadOrvexaContainer(spoilt);
    EXPECT_TRUE(HasErrorContaining(read, c.expected)) << c.what << ", expected \"" << c.expected << "\" in:\n"
                                                      << read.ErrorText();
  }
}

// Bounds checks: damage anywhere in the header, whatever it unscrambles to,
// and a cut at any length are read without running off the bytes (the
// sanitizer builds catch that), and every cut is reported.
TEST(OrvexaContainerReader, SurvivesDamageAnywhere) {
  TempDir dir;
  const std::vector<uint8_t> good = WriteContainer(dir, {MakeProfile("ADSL1", 32000, 200000, 4, 300)});
  const OrvexaContainer layout = ReadOrvexaContainer(good);
  ASSERT_TRUE(layout.errors.empty()) << layout.ErrorText();
  for (size_t i = 0; i < layout.headerSize; ++i)
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> spoilt = good;
      spoilt[i] ^= flip;
      (void)ReadOrvexaContainer(spoilt);
    }
  for (size_t length = 0; length < good.size(); length += 1 + length / 3) {
    const OrvexaContainer read = ReadOrvexaContainer(std::vector<uint8_t>(good.begin(), good.begin() + length));
    EXPECT_FALSE(read.errors.empty()) << "a cut at " << length << " went unnoticed";
  }
}

TEST(OrvexaContainerReader, ReportsContentsThatBreakTheirTable) {
  struct Case {
    const char* what;
    std::function<void(Profile&)> change;
    std::string expected;
  };
  auto edit = [](std::function<void(Properties&)> f) { return [f](Profile& p) { p.editProperties = f; }; };
  auto set = [edit](std::string key, std::string value) {
    return edit([key, value](Properties& props) {
      for (auto& p : props)
        if (p.first == key) p.second = value;
    });
  };
  const std::vector<Case> cases = {
      {"keys out of order", edit([](Properties& p) { std::swap(p[3], p[4]); }), "the property keys read"},
      {"a missing key", edit([](Properties& p) { p.erase(p.begin() + 5); }), "the property keys read"},
      {"another mode", set("encryption-mode", "xor"), "not \"crx\""},
      {"an upper-case key", set("encryption-key", "0123456789ABCDEF"), "16 lower-case hex"},
      {"a frame-rate denominator", set("video-fps-den", "1001"), "not \"1000\""},
      {"a width off the macroblocks", set("video-width", "100"), "multiple of 16"},
      {"a wrong sum", set("required-bitrate", "1"), "bitrates' sum"},
      {"a wrong type", set("content-type", "kestrin"), "neither"},
      {"a stream without an end", [](Profile& p) { p.ogg = MakeOggData(6, 500, false); }, "has no EOS page"},
      {"an index left unthinned",
       [](Profile& p) {
         // Three key pages of serial 1 in a row, then the final run.
         p.ogg.keyPages.erase(p.ogg.keyPages.begin() + 4);
         p.ogg.keyPages.erase(p.ogg.keyPages.begin() + 2);
         p.thinIndex = false;
       },
       "were not thinned"},
  };
  for (const Case& c : cases) {
    Profile profile = MakeProfile("ISDN", 32000, 64000);
    c.change(profile);
    TempDir dir;
    const OrvexaContainer read = ReadOrvexaContainer(WriteContainer(dir, {std::move(profile)}));
    EXPECT_TRUE(HasErrorContaining(read, c.expected)) << c.what << ", expected \"" << c.expected << "\" in:\n"
                                                      << read.ErrorText();
  }
}

// ffmpeg's file recast the way the engine numbers its streams: Vorbis on
// serial 0, Theora on serial 1 with a frame rate over 1000, CRCs redone.
std::vector<uint8_t> AsEngineStreams(const std::vector<uint8_t>& ogg) {
  bool complete = false;
  std::vector<uint8_t> out;
  std::map<int, uint32_t> serials;
  for (ParsedOggPage page : ParseOggPages(ogg, &complete)) {
    const size_t header = 27 + page.bytes[26];
    uint8_t* body = page.bytes.data() + header;
    if (page.bos) {
      const bool theora = std::memcmp(body, "\x80theora", 7) == 0;
      serials[page.serial] = theora ? 1 : 0;
      if (theora) {
        uint32_t pos = 22;
        PutU32(10000, body, &pos);
        PutU32(1000, body, &pos);
      }
    }
    const uint32_t serial = serials[page.serial];
    for (int i = 0; i < 4; ++i) page.bytes[14 + i] = static_cast<uint8_t>(serial >> (8 * i));
    ogg_page og{page.bytes.data(), static_cast<long>(header), body, static_cast<long>(page.bytes.size() - header)};
    ogg_page_checksum_set(&og);
    out.insert(out.end(), page.bytes.begin(), page.bytes.end());
  }
  return out;
}

// Key pages as the stream manager would time them: Vorbis positions in
// samples at 44100 Hz, Theora positions in frames at 10 per second.
std::vector<keSeekEntry> KeyPagesOf(const std::vector<uint8_t>& ogg) {
  bool complete = false;
  std::vector<keSeekEntry> entries;
  for (const ParsedOggPage& page : ParseOggPages(ogg, &complete)) {
    if (page.bos || page.granulePos <= 0) continue;
    const int64_t position = page.serial == 0 ? page.granulePos : (page.granulePos >> 6) + (page.granulePos & 63);
    const int64_t ms = page.serial == 0 ? position * 1000 / 44100 : position * 1000000 / 10000;
    entries.push_back({static_cast<int64_t>(page.offset), static_cast<uint32_t>(page.serial), position, ms});
  }
  return entries;
}

TEST(OrvexaContainerReader, ChecksRealCodecHeadersAgainstTheTable) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteTinyTheoraVorbisOgg(dir.File("tiny.ogg"), &error)) << error;
  const std::vector<uint8_t> ogg = AsEngineStreams(ReadWholeFileBytes(dir.File("tiny.ogg")));
  auto tinyProfile = [&ogg](Properties changes) {
    Profile p;
    p.name = "Modem";
    p.audioBitrate = 32000;
    p.videoBitrate = 64000;
    p.ogg.bytes = ogg;
    p.ogg.keyPages = KeyPagesOf(ogg);
    changes.insert(
        changes.begin(),
        {{"audio-channels", "1"}, {"video-width", "64"}, {"video-height", "48"}, {"video-fps-num", "10000"}});
    p.editProperties = [changes](Properties& props) {
      for (const auto& [key, value] : changes)
        for (auto& prop : props)
          if (prop.first == key) prop.second = value;
    };
    return p;
  };

  {
    const OrvexaContainer read = ReadOrvexaContainer(WriteContainer(dir, {tinyProfile({})}));
    EXPECT_TRUE(read.errors.empty()) << read.ErrorText();
    const OrvexaContent& av = *read.AudioVideoContents().at(0);
    ASSERT_EQ(av.streams.size(), 2u);
    EXPECT_EQ(av.streams.at(0).codec, "vorbis");
    EXPECT_EQ(av.streams.at(0).sampleRate, 44100);
    EXPECT_EQ(av.streams.at(1).codec, "theora");
    EXPECT_EQ(av.streams.at(1).frameWidth, 64);
    EXPECT_EQ(av.streams.at(1).frameHeight, 48);
    EXPECT_GE(read.SeekIndexFor(av.id)->seekEntries.size(), 2u);

    const OggDecodeResult decoded = DecodeOggBytes(av.oggBytes);
    EXPECT_FALSE(decoded.decodeErrors) << decoded.errorText;
    ASSERT_NE(decoded.Stream("video"), nullptr);
    EXPECT_EQ(decoded.Stream("video")->frames, 10);
    EXPECT_DOUBLE_EQ(decoded.Stream("video")->frameRate, 10.0);
  }

  struct Case {
    Properties changes;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{{"video-width", "80"}}, "\"video-width\" is \"80\" but the Theora header says 64"},
      {{{"video-fps-num", "12000"}}, "but the Theora header says 10000"},
      {{{"audio-sample-rate", "22050"}}, "but the Vorbis header says 44100"},
      {{{"audio-channels", "2"}}, "\"audio-channels\" is \"2\" but the Vorbis header says 1"},
  };
  for (const Case& c : cases) {
    const OrvexaContainer read = ReadOrvexaContainer(WriteContainer(dir, {tinyProfile(c.changes)}));
    EXPECT_TRUE(HasErrorContaining(read, c.expected)) << "expected \"" << c.expected << "\" in:\n" << read.ErrorText();
  }

  // A seek time the stream's rate does not give.
  Profile late = tinyProfile({});
  late.ogg.keyPages.front().timeMs += 1;
  const OrvexaContainer read = ReadOrvexaContainer(WriteContainer(dir, {std::move(late)}));
  EXPECT_TRUE(HasErrorContaining(read, "rate gives")) << read.ErrorText();
}

}  // namespace
