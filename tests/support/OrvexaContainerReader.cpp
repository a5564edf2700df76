#include "OrvexaContainerReader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace {

constexpr size_t kHeaderKeyLength = 40;
constexpr size_t kSmallestHeader = kOrvexaFixedHeadSize + 4 + 4 + 3;  // two empty counts and "eoh"
constexpr size_t kSeekHeadSize = 24;
constexpr size_t kSeekEntrySize = 28;
const char kFeatureMask[] = "0000000000000000-0000000000000000-0000000000000000";

// Big-endian reads that refuse to run past `limit`; once a read fails every
// later one fails too, so a caller checks Failed() once after a group.
class Cursor {
 public:
  Cursor(const uint8_t* bytes, size_t limit, size_t pos) : b_(bytes), limit_(limit), pos_(pos) {}

  uint64_t Read(size_t n) {
    if (!Need(n)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v = (v << 8) | b_[pos_++];
    return v;
  }
  std::string Text(size_t n) {
    if (!Need(n)) return std::string();
    std::string s(reinterpret_cast<const char*>(b_ + pos_), n);
    pos_ += n;
    return s;
  }
  bool Failed() const { return failed_; }
  size_t Pos() const { return pos_; }
  size_t Left() const { return failed_ ? 0 : limit_ - pos_; }

 private:
  bool Need(size_t n) {
    if (failed_ || limit_ - pos_ < n) failed_ = true;
    return !failed_;
  }

  const uint8_t* b_;
  size_t limit_;
  size_t pos_;
  bool failed_ = false;
};

using Properties = std::vector<std::pair<std::string, std::string>>;

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string Join(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) out += (i ? separator : "") + items[i];
  return out;
}

// The u32 count, then per text a u16 length and the bytes. False when the
// list runs past the cursor's limit.
bool ReadPropertyList(Cursor& cursor, Properties& out, const std::string& where, std::vector<std::string>& errors) {
  uint64_t count = cursor.Read(4);
  if (cursor.Failed()) return false;
  if (count > cursor.Left() / 2) {
    errors.push_back(where + ": property count " + std::to_string(count) + " cannot fit in the header");
    return false;
  }
  for (uint64_t i = 0; i < count; ++i) {
    size_t length = cursor.Read(2);
    std::string text = cursor.Text(length);
    if (cursor.Failed()) return false;
    size_t eq = text.find('=');
    if (eq == std::string::npos) {
      errors.push_back(where + ": property " + std::to_string(i) + " " + Quote(text) + " has no \"=\"");
      out.emplace_back(text, "");
    } else {
      out.emplace_back(text.substr(0, eq), text.substr(eq + 1));
    }
  }
  return true;
}

std::string Lookup(const Properties& properties, const std::string& key) {
  for (const auto& p : properties)
    if (p.first == key) return p.second;
  return std::string();
}

bool Contains(const Properties& properties, const std::string& key) {
  return std::any_of(properties.begin(), properties.end(), [&](const auto& p) { return p.first == key; });
}

std::vector<std::string> KeysOf(const Properties& properties) {
  std::vector<std::string> keys;
  for (const auto& p : properties) keys.push_back(p.first);
  return keys;
}

// Plain decimal as the writer prints it: an optional '-' and digits.
bool ParseDecimal(const std::string& text, int64_t* value) {
  size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (text.empty() || i == text.size() || text.size() - i > 18) return false;
  int64_t v = 0;
  for (size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
    v = v * 10 + (text[k] - '0');
  }
  *value = i ? -v : v;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLowerHex(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::string Where(const OrvexaContent& c) {
  return "content " + std::to_string(c.tableIndex) + " (id " + std::to_string(c.id) + ", " + Quote(c.type) + ")";
}

class ContainerReader {
 public:
  ContainerReader(const std::vector<uint8_t>& bytes, OrvexaContainer& c) : bytes_(bytes), c_(c) {}

  void Run() {
    c_.fileSize = bytes_.size();
    if (!ReadHeader()) return;
    CheckHeaderProperties();
    for (OrvexaContent& content : c_.contents) ReadContentProperties(content);
    CheckIdsAndOrder();
    CheckLayout();
    for (OrvexaContent& content : c_.contents)
      if (content.IsAudioVideo()) ReadAudioVideo(content);
    for (OrvexaContent& content : c_.contents)
      if (content.IsSeekIndex()) ReadSeekIndex(content);
  }

 private:
  void Error(const std::string& text) { c_.errors.push_back(text); }

  bool ReadHeader() {
    if (bytes_.size() < kOrvexaFixedHeadSize) {
      Error("the file has " + std::to_string(bytes_.size()) + " bytes, fewer than the " +
            std::to_string(kOrvexaFixedHeadSize) + " of the fixed head");
      return false;
    }
    Cursor head(bytes_.data(), kOrvexaFixedHeadSize, 0);
    std::string magic = head.Text(6);
    uint64_t one = head.Read(4), five = head.Read(4);
    c_.headerSize = head.Read(8);
    uint64_t lastOne = head.Read(2);
    std::copy(bytes_.begin() + 24, bytes_.begin() + 64, c_.headerKey.begin());
    if (magic != "orvexa") Error("the file does not begin with \"orvexa\"");
    if (one != 1 || five != 5 || lastOne != 1)
      Error("the constants at offsets 6, 10 and 22 read " + std::to_string(one) + ", " + std::to_string(five) + ", " +
            std::to_string(lastOne) + " instead of 1, 5, 1");
    if (c_.headerSize < kSmallestHeader) {
      Error("header size " + std::to_string(c_.headerSize) + " is below the smallest possible " +
            std::to_string(kSmallestHeader));
      return false;
    }
    if (c_.headerSize > bytes_.size()) {
      Error("header size " + std::to_string(c_.headerSize) + " runs past the end of the file (" +
            std::to_string(bytes_.size()) + " bytes)");
      return false;
    }

    header_.assign(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(c_.headerSize));
    UnscrambleOrvexaHeader(header_.data(), kOrvexaFixedHeadSize, header_.size(), c_.headerKey.data());
    const size_t eoh = header_.size() - 3;
    Cursor cursor(header_.data(), eoh, kOrvexaFixedHeadSize);
    if (!ReadPropertyList(cursor, c_.headerProperties, "header", c_.errors)) {
      Error("the header property list runs into \"eoh\"");
      return false;
    }
    uint64_t count = cursor.Read(4);
    if (cursor.Failed() || count > cursor.Left() / 20) {
      Error("the content count " + std::to_string(count) + " does not fit in the header");
      return false;
    }
    for (uint64_t i = 0; i < count; ++i) {
      OrvexaContent content;
      content.tableIndex = static_cast<size_t>(i);
      content.start = cursor.Read(8);
      content.end = cursor.Read(8);
      if (!ReadPropertyList(cursor, content.properties, "content " + std::to_string(i), c_.errors) || cursor.Failed()) {
        Error("the content table runs into \"eoh\" at content " + std::to_string(i) + " of " + std::to_string(count));
        return false;
      }
      c_.contents.push_back(std::move(content));
    }
    if (cursor.Pos() != eoh)
      Error(std::to_string(eoh - cursor.Pos()) + " bytes lie between the content table (ending at " +
            std::to_string(cursor.Pos()) + ") and \"eoh\"");
    if (std::memcmp(header_.data() + eoh, "eoh", 3) != 0) Error("the header does not end with \"eoh\"");
    return true;
  }

  // The application's properties come first; the writer's own follow in a
  // fixed order and close the list.
  void CheckHeaderProperties() {
    CheckUniqueKeys(c_.headerProperties, "header");
    const Properties& p = c_.headerProperties;
    size_t i = 0;
    while (i < p.size() && p[i].first != "security-model") ++i;
    if (i == p.size()) {
      Error("the header has no \"security-model\" property");
      return;
    }
    std::vector<std::pair<std::string, std::string>> expected = {{"security-model", "2"}};
    const bool secured = i + 1 < p.size() && p[i + 1].first == "use-security" && p[i + 1].second == "true";
    expected.emplace_back("use-security", secured ? "true" : "false");
    if (secured) expected.emplace_back("security-key", i + 2 < p.size() ? p[i + 2].second : "");
    size_t next = i + expected.size();
    if (next < p.size() && p[next].first == "content-expire-date") expected.push_back(p[next]);
    next = i + expected.size();
    expected.emplace_back("encoder-type", next < p.size() ? p[next].second : "");
    expected.emplace_back("feature-mask", kFeatureMask);

    Properties tail(p.begin() + static_cast<std::ptrdiff_t>(i), p.end());
    bool same = tail.size() == expected.size();
    for (size_t k = 0; same && k < tail.size(); ++k) same = tail[k] == expected[k];
    int64_t encoderType = 0;
    if (!same || !ParseDecimal(Lookup(p, "encoder-type"), &encoderType)) {
      std::vector<std::string> got, want;
      for (const auto& e : tail) got.push_back(e.first + "=" + e.second);
      for (const auto& e : expected) want.push_back(e.first + "=" + e.second);
      Error("the header's own properties read [" + Join(got, ", ") + "], expected [" + Join(want, ", ") +
            "] with a decimal encoder type");
    }
  }

  void CheckUniqueKeys(const Properties& properties, const std::string& where) {
    std::set<std::string> seen;
    for (const auto& p : properties)
      if (!seen.insert(p.first).second) Error(where + ": the key " + Quote(p.first) + " appears twice");
  }

  void ReadContentProperties(OrvexaContent& content) {
    content.type = Lookup(content.properties, "content-type");
    int64_t value = 0;
    if (ParseDecimal(Lookup(content.properties, "content-id"), &value)) content.id = static_cast<int>(value);
    if (ParseDecimal(Lookup(content.properties, "content-ref-id"), &value)) content.refId = static_cast<int>(value);
    CheckUniqueKeys(content.properties, Where(content));
    if (content.IsAudioVideo()) CheckAudioVideoProperties(content);
    else if (content.IsSeekIndex()) CheckSeekIndexProperties(content);
    else Error(Where(content) + ": the content type is neither \"kestrin-av\" nor \"kestrin-av-seek-index\"");
  }

  void ExpectKeys(const OrvexaContent& content, const std::vector<std::string>& expected) {
    std::vector<std::string> keys = KeysOf(content.properties);
    if (keys != expected)
      Error(Where(content) + ": the property keys read [" + Join(keys, ", ") + "], expected [" + Join(expected, ", ") +
            "]");
  }

  bool ExpectNumber(const OrvexaContent& content, const std::string& key, int64_t* value) {
    if (!Contains(content.properties, key)) return false;
    if (ParseDecimal(content.Property(key), value)) return true;
    Error(Where(content) + ": " + Quote(key) + " = " + Quote(content.Property(key)) + " is not a decimal number");
    return false;
  }

  void CheckAudioVideoProperties(const OrvexaContent& content) {
    const bool audio = content.Has("audio-bitrate");
    const bool video = content.Has("video-bitrate");
    std::vector<std::string> keys = {"content-id", "content-type", "content-name"};
    if (audio) keys.insert(keys.end(), {"audio-bitrate", "audio-channels", "audio-sample-rate"});
    if (video)
      keys.insert(keys.end(), {"video-bitrate", "video-width", "video-height", "video-fps-num", "video-fps-den",
                               "video-description"});
    keys.insert(keys.end(), {"required-bitrate", "content-duration", "encryption-mode", "encryption-key"});
    ExpectKeys(content, keys);

    int64_t v = 0, audioBitrate = 0, videoBitrate = 0, required = 0;
    if (audio) ExpectNumber(content, "audio-bitrate", &audioBitrate);
    if (video) ExpectNumber(content, "video-bitrate", &videoBitrate);
    for (const char* key : {"audio-channels", "audio-sample-rate", "video-fps-num", "content-duration"})
      if (ExpectNumber(content, key, &v) && v < 0) Error(Where(content) + ": " + Quote(key) + " is negative");
    for (const char* key : {"video-width", "video-height"})
      if (ExpectNumber(content, key, &v) && (v <= 0 || v % 16 != 0))
        Error(Where(content) + ": " + Quote(key) + " = " + std::to_string(v) + " is not a positive multiple of 16");
    if (video && content.Property("video-fps-den") != "1000")
      Error(Where(content) + ": \"video-fps-den\" is " + Quote(content.Property("video-fps-den")) + ", not \"1000\"");
    if (ExpectNumber(content, "required-bitrate", &required) &&
        required != static_cast<int32_t>(audioBitrate + videoBitrate))
      Error(Where(content) + ": \"required-bitrate\" " + std::to_string(required) +
            " is not the audio and video bitrates' sum " + std::to_string(audioBitrate + videoBitrate));
    if (content.Property("encryption-mode") != "crx")
      Error(Where(content) + ": \"encryption-mode\" is " + Quote(content.Property("encryption-mode")) +
            ", not \"crx\"");
    const std::string key = content.Property("encryption-key");
    if (key.size() != 16 || !IsLowerHex(key))
      Error(Where(content) + ": \"encryption-key\" " + Quote(key) + " is not 16 lower-case hex characters");
  }

  void CheckSeekIndexProperties(const OrvexaContent& content) {
    ExpectKeys(content, {"content-id", "content-type", "content-ref-id", "content-name"});
    if (content.Property("content-name") != "Seek Index")
      Error(Where(content) + ": \"content-name\" is " + Quote(content.Property("content-name")) +
            ", not \"Seek Index\"");
    int64_t v = 0;
    ExpectNumber(content, "content-ref-id", &v);
  }

  // Ids number the contents as they were listed before the head content was
  // moved: every audio/video content, then their seek indexes in the same
  // order. The file order is that list with the head moved to the front.
  void CheckIdsAndOrder() {
    const int n = static_cast<int>(c_.contents.size());
    std::vector<const OrvexaContent*> byId(c_.contents.size(), nullptr);
    for (const OrvexaContent& content : c_.contents) {
      if (content.id < 0 || content.id >= n) {
        Error(Where(content) + ": the id is not one of 0.." + std::to_string(n - 1));
        return;
      }
      if (byId[content.id]) {
        Error(Where(content) + ": the id is used twice");
        return;
      }
      byId[content.id] = &content;
    }
    int profiles = 0;
    while (profiles < n && byId[profiles]->IsAudioVideo()) ++profiles;
    if (n != 2 * profiles) {
      Error("ids 0.." + std::to_string(n - 1) + " are not " + std::to_string(n / 2) +
            " audio/video contents followed by as many seek indexes");
      return;
    }
    for (int i = profiles; i < n; ++i) {
      if (!byId[i]->IsSeekIndex() || byId[i]->refId != i - profiles)
        Error(Where(*byId[i]) + ": expected the seek index of content id " + std::to_string(i - profiles) +
              ", found \"content-ref-id\" " + std::to_string(byId[i]->refId));
    }

    int head = -1;
    int64_t best = 1000000000000LL;
    for (int i = 0; i < profiles; ++i) {
      int64_t required = 0;
      if (!ParseDecimal(byId[i]->Property("required-bitrate"), &required) || required <= 0) continue;
      int64_t difference =
          required > kOrvexaTargetBitrate ? required - kOrvexaTargetBitrate : kOrvexaTargetBitrate - required;
      if (difference < best) {
        best = difference;
        head = i;
      }
    }
    std::vector<std::string> expected, actual;
    if (head >= 0) expected.push_back(std::to_string(head));
    for (int i = 0; i < n; ++i)
      if (i != head) expected.push_back(std::to_string(i));
    for (const OrvexaContent& content : c_.contents) actual.push_back(std::to_string(content.id));
    if (actual != expected)
      Error("the contents are stored in the id order " + Join(actual, " ") + "; expected " + Join(expected, " ") +
            " (the content closest to " + std::to_string(kOrvexaTargetBitrate) + " bit/s first)");
  }

  // Data follow the header back to back; the file then ends in zero blocks
  // of 1024 bytes reaching at least header size + 512 KiB.
  void CheckLayout() {
    uint64_t expectedStart = c_.headerSize;
    for (const OrvexaContent& content : c_.contents) {
      if (content.start != expectedStart)
        Error(Where(content) + ": the data start at " + std::to_string(content.start) + ", expected " +
              std::to_string(expectedStart));
      if (content.end < content.start) {
        Error(Where(content) + ": the data end at " + std::to_string(content.end) + ", before their start " +
              std::to_string(content.start));
        return;
      }
      if (content.end > bytes_.size())
        Error(Where(content) + ": the data end at " + std::to_string(content.end) + ", past the end of the file (" +
              std::to_string(bytes_.size()) + " bytes)");
      expectedStart = content.end;
    }
    const uint64_t dataEnd = expectedStart;
    if (dataEnd > bytes_.size()) return;
    const int64_t missing = static_cast<int64_t>(c_.headerSize + kOrvexaMinimumTail) - static_cast<int64_t>(dataEnd);
    uint64_t expectedSize = dataEnd;
    if (missing > 0)
      expectedSize += (static_cast<uint64_t>(missing) + kOrvexaPadBlock - 1) / kOrvexaPadBlock * kOrvexaPadBlock;
    if (bytes_.size() != expectedSize)
      Error("the file has " + std::to_string(bytes_.size()) + " bytes; with data ending at " + std::to_string(dataEnd) +
            " it should be padded to " + std::to_string(expectedSize));
    for (uint64_t i = dataEnd; i < bytes_.size(); ++i)
      if (bytes_[i] != 0) {
        Error("the padding after the data holds a non-zero byte at offset " + std::to_string(i));
        break;
      }
  }

  std::pair<const uint8_t*, size_t> DataOf(const OrvexaContent& content) const {
    const uint64_t end = std::min<uint64_t>(content.end, bytes_.size());
    if (content.start >= end) return {nullptr, 0};
    return {bytes_.data() + content.start, static_cast<size_t>(end - content.start)};
  }

  void ReadAudioVideo(OrvexaContent& content) {
    auto [data, size] = DataOf(content);
    std::string keyError;
    content.oggBytes = CrxDecrypt(data, size, content.Property("encryption-key"), &keyError);
    if (!keyError.empty()) {
      Error(Where(content) + ": " + keyError);
      return;
    }
    if (content.oggBytes.empty()) {
      Error(Where(content) + ": holds no data");
      return;
    }
    bool complete = false;
    content.pages = ParseOggPages(content.oggBytes, &complete);
    if (!complete) ReportGaps(content);
    CheckStreams(content);
    CheckAgainstProperties(content);
  }

  void ReportGaps(const OrvexaContent& content) {
    size_t expected = 0;
    for (const ParsedOggPage& page : content.pages) {
      if (page.offset != expected)
        Error(Where(content) + ": decrypted bytes " + std::to_string(expected) + ".." +
              std::to_string(page.offset - 1) + " are not a sound Ogg page");
      expected = page.offset + page.size;
    }
    if (expected != content.oggBytes.size())
      Error(Where(content) + ": the last " + std::to_string(content.oggBytes.size() - expected) +
            " decrypted bytes (from " + std::to_string(expected) + ") are not a complete Ogg page");
  }

  // Per logical stream: one BOS page opening it, sequence numbers without a
  // gap, one EOS page closing it; every stream's BOS page before any other.
  void CheckStreams(OrvexaContent& content) {
    std::map<int, bool> ended;
    std::map<int, uint32_t> nextSequence;
    bool pastBosPages = false;
    for (const ParsedOggPage& page : content.pages) {
      const std::string at = Where(content) + ": the page at " + std::to_string(page.offset) + " (serial " +
                             std::to_string(page.serial) + ")";
      const uint32_t sequence = static_cast<uint32_t>(page.bytes[18]) | static_cast<uint32_t>(page.bytes[19]) << 8 |
                                static_cast<uint32_t>(page.bytes[20]) << 16 |
                                static_cast<uint32_t>(page.bytes[21]) << 24;
      auto found = content.streams.find(page.serial);
      if (found == content.streams.end()) {
        if (!page.bos) Error(at + " begins its stream without the BOS flag");
        if (pastBosPages) Error(at + " begins a stream after other streams' data pages");
        found = content.streams.emplace(page.serial, Identify(page)).first;
        ended[page.serial] = false;
      } else {
        if (page.bos) Error(at + " carries a second BOS flag");
        if (ended[page.serial]) Error(at + " follows its stream's EOS page");
        pastBosPages = true;
      }
      OrvexaOggStreamInfo& info = found->second;
      // One complaint per gap: the count follows the page's own number on.
      uint32_t& next = nextSequence[page.serial];
      if (sequence != next)
        Error(at + " has sequence number " + std::to_string(sequence) + ", expected " + std::to_string(next));
      next = sequence + 1;
      ++info.pageCount;
      if (page.granulePos != -1) info.lastGranulePos = page.granulePos;
      if (page.eos) ended[page.serial] = true;
    }
    for (const auto& [serial, done] : ended)
      if (!done) Error(Where(content) + ": the stream of serial " + std::to_string(serial) + " has no EOS page");
  }

  static OrvexaOggStreamInfo Identify(const ParsedOggPage& page) {
    OrvexaOggStreamInfo info;
    info.serial = page.serial;
    info.codec = "unknown";
    const size_t segments = page.bytes[26];
    size_t length = 0;
    for (size_t i = 0; i < segments; ++i) {
      length += page.bytes[27 + i];
      if (page.bytes[27 + i] < 255) break;
    }
    const uint8_t* p = page.bytes.data() + 27 + segments;
    length = std::min(length, page.bytes.size() - 27 - segments);
    auto le32 = [&](size_t at) {
      return static_cast<uint32_t>(p[at]) | static_cast<uint32_t>(p[at + 1]) << 8 |
             static_cast<uint32_t>(p[at + 2]) << 16 | static_cast<uint32_t>(p[at + 3]) << 24;
    };
    auto be = [&](size_t at, size_t n) {
      uint32_t v = 0;
      for (size_t i = 0; i < n; ++i) v = (v << 8) | p[at + i];
      return v;
    };
    if (length >= 30 && std::memcmp(p, "\x01vorbis", 7) == 0) {
      info.codec = "vorbis";
      info.channels = p[11];
      info.sampleRate = static_cast<int>(le32(12));
    } else if (length >= 42 && std::memcmp(p, "\x80theora", 7) == 0) {
      info.codec = "theora";
      info.frameWidth = static_cast<int>(be(10, 2)) * 16;
      info.frameHeight = static_cast<int>(be(12, 2)) * 16;
      info.fpsNumerator = be(22, 4);
      info.fpsDenominator = be(26, 4);
    }
    return info;
  }

  // What the codec headers say must match what the content table promises
  // the player; fake packets (codec "unknown") are not compared.
  void CheckAgainstProperties(const OrvexaContent& content) {
    const OrvexaOggStreamInfo* vorbis = nullptr;
    const OrvexaOggStreamInfo* theora = nullptr;
    for (const auto& entry : content.streams) {
      if (entry.second.codec == "vorbis") vorbis = &entry.second;
      if (entry.second.codec == "theora") theora = &entry.second;
    }
    if (!vorbis && !theora) return;
    auto expect = [&](const char* key, int64_t actual, const char* what) {
      if (content.Property(key) != std::to_string(actual))
        Error(Where(content) + ": " + Quote(key) + " is " + Quote(content.Property(key)) + " but the " + what +
              " says " + std::to_string(actual));
    };
    if (vorbis) {
      if (vorbis->serial != 0)
        Error(Where(content) + ": the Vorbis stream has serial " + std::to_string(vorbis->serial) + ", not 0");
      expect("audio-channels", vorbis->channels, "Vorbis header");
      expect("audio-sample-rate", vorbis->sampleRate, "Vorbis header");
    } else if (content.Has("audio-bitrate")) {
      Error(Where(content) + ": audio properties but no Vorbis stream");
    }
    if (theora) {
      if (theora->serial != 1)
        Error(Where(content) + ": the Theora stream has serial " + std::to_string(theora->serial) + ", not 1");
      expect("video-width", theora->frameWidth, "Theora header");
      expect("video-height", theora->frameHeight, "Theora header");
      expect("video-fps-num", theora->fpsNumerator, "Theora header");
      expect("video-fps-den", theora->fpsDenominator, "Theora header");
    } else if (content.Has("video-bitrate")) {
      Error(Where(content) + ": video properties but no Theora stream");
    }
  }

  void ReadSeekIndex(OrvexaContent& content) {
    auto [data, size] = DataOf(content);
    if (size < kSeekHeadSize) {
      Error(Where(content) + ": " + std::to_string(size) + " bytes cannot hold the 24-byte seek index head");
      return;
    }
    Cursor cursor(data, size, 0);
    std::string magic = cursor.Text(12);
    uint64_t one = cursor.Read(4), zero = cursor.Read(4), count = cursor.Read(4);
    if (magic != std::string("AVSeekIndex\0", 12))
      Error(Where(content) + ": the block does not begin with \"AVSeekIndex\" and a zero byte");
    if (one != 1 || zero != 0)
      Error(Where(content) + ": the constants read " + std::to_string(one) + ", " + std::to_string(zero) +
            " instead of 1, 0");
    if (size != kSeekHeadSize + kSeekEntrySize * count) {
      Error(Where(content) + ": " + std::to_string(count) + " entries need " +
            std::to_string(kSeekHeadSize + kSeekEntrySize * count) + " bytes, the data have " + std::to_string(size));
      count = std::min<uint64_t>(count, (size - kSeekHeadSize) / kSeekEntrySize);
    }
    for (uint64_t i = 0; i < count; ++i) {
      OrvexaSeekEntry entry;
      entry.offset = cursor.Read(8);
      entry.serial = static_cast<uint32_t>(cursor.Read(4));
      entry.keyPosition = cursor.Read(8);
      entry.timeMs = cursor.Read(8);
      content.seekEntries.push_back(entry);
    }
    CheckSeekEntries(content);
  }

  void CheckSeekEntries(const OrvexaContent& index) {
    const std::vector<OrvexaSeekEntry>& entries = index.seekEntries;
    // Thinning leaves at most the first and last of every run of one serial,
    // and of the final run only its first.
    for (size_t i = 0, run = 0; i < entries.size(); ++i) {
      run = i > 0 && entries[i].serial == entries[i - 1].serial ? run + 1 : 1;
      const bool last = i + 1 == entries.size();
      if (run == 3 || (last && run == 2))
        Error(Where(index) + ": entries " + std::to_string(i + 1 - run) + ".." + std::to_string(i) + " of serial " +
              std::to_string(entries[i].serial) + " were not thinned");
    }

    const OrvexaContent* av = c_.ContentById(index.refId);
    if (!av || !av->IsAudioVideo()) return;
    std::map<uint64_t, int> pageSerials;
    for (const ParsedOggPage& page : av->pages) pageSerials[page.offset] = page.serial;
    std::map<uint32_t, const OrvexaSeekEntry*> previous;
    // Data that are not sound Ogg throw every entry off; a few name the fault.
    constexpr size_t kShownMisses = 3;
    size_t misses = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
      const OrvexaSeekEntry& e = entries[i];
      const std::string at = Where(index) + ": entry " + std::to_string(i) + " (offset " + std::to_string(e.offset) +
                             ", serial " + std::to_string(e.serial) + ")";
      auto page = pageSerials.find(e.offset);
      if (page == pageSerials.end()) {
        if (++misses <= kShownMisses)
          Error(at + " is not the start of a page of content id " + std::to_string(av->id) + " (" +
                std::to_string(av->oggBytes.size()) + " bytes)");
      } else if (static_cast<uint32_t>(page->second) != e.serial)
        Error(at + " points at a page of serial " + std::to_string(page->second));
      if (i > 0 && e.offset <= entries[i - 1].offset) Error(at + " does not lie after the entry before it");
      const OrvexaSeekEntry* before = previous[e.serial];
      if (before && (e.timeMs < before->timeMs || e.keyPosition < before->keyPosition))
        Error(at + " goes back in time: " + std::to_string(e.timeMs) + " ms at position " +
              std::to_string(e.keyPosition) + " after " + std::to_string(before->timeMs) + " ms at " +
              std::to_string(before->keyPosition));
      previous[e.serial] = &e;
      CheckSeekTime(*av, e, at);
    }
    if (misses > kShownMisses)
      Error(Where(index) + ": " + std::to_string(misses - kShownMisses) + " more entries are not the start of a page");
  }

  // The time is the key position in the stream's own units, scaled as the
  // stream manager does it: samples at the Vorbis rate, frames at the Theora
  // frame rate.
  void CheckSeekTime(const OrvexaContent& av, const OrvexaSeekEntry& e, const std::string& at) {
    auto stream = av.streams.find(static_cast<int>(e.serial));
    if (stream == av.streams.end()) return;
    const OrvexaOggStreamInfo& info = stream->second;
    const int64_t position = static_cast<int64_t>(e.keyPosition);
    int64_t expected = -1;
    if (info.codec == "vorbis" && info.sampleRate > 0) expected = position * 1000 / info.sampleRate;
    if (info.codec == "theora" && info.fpsNumerator > 0)
      expected = position * (static_cast<int64_t>(info.fpsDenominator) * 1000) / info.fpsNumerator;
    if (expected >= 0 && static_cast<int64_t>(e.timeMs) != expected)
      Error(at + " gives " + std::to_string(e.timeMs) + " ms for position " + std::to_string(position) + ", the " +
            info.codec + " rate gives " + std::to_string(expected));
  }

  const std::vector<uint8_t>& bytes_;
  OrvexaContainer& c_;
  std::vector<uint8_t> header_;
};

}  // namespace

bool OrvexaContent::Has(const std::string& key) const { return Contains(properties, key); }

std::string OrvexaContent::Property(const std::string& key) const { return Lookup(properties, key); }

std::vector<std::string> OrvexaContent::Keys() const { return KeysOf(properties); }

std::string OrvexaContainer::ErrorText() const {
  std::ostringstream out;
  for (const std::string& e : errors) out << "  " << e << "\n";
  return out.str();
}

std::string OrvexaContainer::HeaderProperty(const std::string& key) const { return Lookup(headerProperties, key); }

const OrvexaContent* OrvexaContainer::ContentById(int id) const {
  for (const OrvexaContent& c : contents)
    if (c.id == id) return &c;
  return nullptr;
}

const OrvexaContent* OrvexaContainer::SeekIndexFor(int avId) const {
  for (const OrvexaContent& c : contents)
    if (c.IsSeekIndex() && c.refId == avId) return &c;
  return nullptr;
}

std::vector<const OrvexaContent*> OrvexaContainer::AudioVideoContents() const {
  std::vector<const OrvexaContent*> found;
  for (const OrvexaContent& c : contents)
    if (c.IsAudioVideo()) found.push_back(&c);
  std::sort(found.begin(), found.end(), [](const auto* a, const auto* b) { return a->id < b->id; });
  return found;
}

OrvexaContainer ReadOrvexaContainer(const std::vector<uint8_t>& bytes) {
  OrvexaContainer container;
  ContainerReader(bytes, container).Run();
  return container;
}

OrvexaContainer ReadOrvexaContainerFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    OrvexaContainer container;
    container.errors.push_back("cannot open " + Quote(path));
    return container;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadOrvexaContainer(bytes);
}

void UnscrambleOrvexaHeader(uint8_t* b, size_t start, size_t end, const uint8_t* key) {
  if (end <= start) return;
  const size_t length = end - start;
  const size_t blocks = length / 128;
  for (int r = 6; r >= 0; --r)
    for (size_t block = blocks; block-- > 0;)
      for (int j = static_cast<int>(kHeaderKeyLength) - 2; j >= 0; --j) {
        size_t p = start + (key[j] + 128 * block + static_cast<size_t>(r)) % length;
        size_t q = start + (key[j + 1] + 128 * block + static_cast<size_t>(r)) % length;
        std::swap(b[p], b[q]);
      }
  for (size_t i = start, k = kHeaderKeyLength - 1; i < end; ++i, k = (k + kHeaderKeyLength - 1) % kHeaderKeyLength)
    b[i] ^= key[k];
}

std::vector<uint8_t> CrxDecrypt(const uint8_t* data, size_t size, const std::string& hexKey, std::string* error) {
  std::vector<uint8_t> out(data, data + size);
  std::vector<uint8_t> key;
  for (size_t i = 0; i + 1 < hexKey.size(); i += 2) {
    int high = HexDigit(hexKey[i]), low = HexDigit(hexKey[i + 1]);
    if (high < 0 || low < 0) break;
    key.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  if (key.empty() || key.size() * 2 != hexKey.size()) {
    *error = "the key " + Quote(hexKey) + " is not an even number of hex characters";
    return out;
  }
  error->clear();
  const size_t n = key.size();
  for (size_t k = 0; k < size; ++k) out[k] ^= key[n - 1 - k % n];
  return out;
}
