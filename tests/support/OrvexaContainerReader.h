// Takes an Orvexa container apart from its bytes alone, the way the player
// has to: unscrambles the header, reads the file properties and the content
// table, decrypts every audio/video content back to its Ogg pages and reads
// every seek index. Written from the file layout, independently of the
// engine's writer, so that end-to-end tests check the file and not the code
// that made it.
//
// Nothing aborts: every problem found is appended to `errors` as a sentence
// naming where it is, and reading goes on as far as the bytes allow. A test
// does
//
//   OrvexaContainer c = ReadOrvexaContainerFile(path);
//   EXPECT_TRUE(c.errors.empty()) << c.ErrorText();
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "OggTestStreams.h"

constexpr uint64_t kOrvexaFixedHeadSize = 64;    // magic, constants, size and key: never scrambled
constexpr uint64_t kOrvexaMinimumTail = 524288;  // the padding reaches header size + this
constexpr uint64_t kOrvexaPadBlock = 1024;
constexpr int64_t kOrvexaTargetBitrate = 390000;  // the head content is the one closest to it

/// One seek entry as stored: where a key page starts in its content's data.
struct OrvexaSeekEntry {
  uint64_t offset;
  uint32_t serial;
  uint64_t keyPosition;
  uint64_t timeMs;
};

/// What the first packet of one logical Ogg stream says about it.
struct OrvexaOggStreamInfo {
  int serial = 0;
  std::string codec;  ///< "vorbis", "theora" or "unknown"
  int pageCount = 0;
  int64_t lastGranulePos = -1;
  // Vorbis identification header
  int channels = 0;
  int sampleRate = 0;
  // Theora identification header
  int frameWidth = 0;  ///< macroblock columns × 16
  int frameHeight = 0;
  uint32_t fpsNumerator = 0;
  uint32_t fpsDenominator = 0;
};

struct OrvexaContent {
  size_t tableIndex = 0;  ///< position in the content table (file order)
  uint64_t start = 0;     ///< file offset of the data
  uint64_t end = 0;       ///< one past its last byte
  /// The property texts split at their first "=", in stored order.
  std::vector<std::pair<std::string, std::string>> properties;

  int id = -1;       ///< "content-id"
  std::string type;  ///< "content-type"

  /// Audio/video contents: the data decrypted with "encryption-key", its
  /// pages, and one entry per logical stream.
  std::vector<uint8_t> oggBytes;
  std::vector<ParsedOggPage> pages;
  std::map<int, OrvexaOggStreamInfo> streams;

  /// Seek-index contents: "content-ref-id" and the entries in stored order.
  int refId = -1;
  std::vector<OrvexaSeekEntry> seekEntries;

  bool IsAudioVideo() const { return type == "kestrin-av"; }
  bool IsSeekIndex() const { return type == "kestrin-av-seek-index"; }
  bool Has(const std::string& key) const;
  /// The value of `key`, or "" when the content has no such property.
  std::string Property(const std::string& key) const;
  std::vector<std::string> Keys() const;
};

struct OrvexaContainer {
  uint64_t fileSize = 0;
  uint64_t headerSize = 0;
  std::array<uint8_t, 40> headerKey{};
  std::vector<std::pair<std::string, std::string>> headerProperties;
  /// In file order (the head content first).
  std::vector<OrvexaContent> contents;
  std::vector<std::string> errors;

  /// Every error on a line of its own, for a test's failure message.
  std::string ErrorText() const;
  std::string HeaderProperty(const std::string& key) const;
  const OrvexaContent* ContentById(int id) const;
  /// The seek-index content whose "content-ref-id" is `avId`, or null.
  const OrvexaContent* SeekIndexFor(int avId) const;
  /// The audio/video contents by ascending id (the order of the profiles).
  std::vector<const OrvexaContent*> AudioVideoContents() const;
};

/// Reads and checks a whole container held in memory.
OrvexaContainer ReadOrvexaContainer(const std::vector<uint8_t>& bytes);
/// Reads and checks the container file at `path`.
OrvexaContainer ReadOrvexaContainerFile(const std::string& path);

/// Undoes the header scrambling of b[start, end) under the 40-byte key: the
/// swap rounds in reverse order, then the backward cyclic XOR again.
void UnscrambleOrvexaHeader(uint8_t* b, size_t start, size_t end, const uint8_t* key);

/// Removes crx encryption: byte k of a content's data was XORed with byte
/// (n − 1 − k mod n) of the n bytes `hexKey` decodes to. An unreadable key
/// leaves the data as they are and says why in `error`.
std::vector<uint8_t> CrxDecrypt(const uint8_t* data, size_t size, const std::string& hexKey, std::string* error);
