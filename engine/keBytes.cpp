#include "keBytes.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "keAlloc.h"

char* keStrDup(const char* text) {
  if (text == nullptr) return nullptr;
  size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(keAlloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

void PutBytes(uint8_t* buffer, uint32_t* pos, const void* source, uint32_t n) {
  std::memcpy(buffer + *pos, source, n);
  *pos += n;
}

void GetBytes(const uint8_t* buffer, uint32_t* pos, void* destination, uint32_t n) {
  std::memcpy(destination, buffer + *pos, n);
  *pos += n;
}

void PutBigEndian(const void* value, uint32_t n, uint8_t* buffer, uint32_t* pos) {
  const uint8_t* bytes = static_cast<const uint8_t*>(value);
  for (uint32_t i = 0; i < n; ++i) buffer[*pos + i] = bytes[n - 1 - i];
  *pos += n;
}

void GetBigEndian(void* destination, uint32_t n, const uint8_t* buffer, uint32_t* pos) {
  uint8_t* bytes = static_cast<uint8_t*>(destination);
  for (uint32_t i = 0; i < n; ++i) bytes[i] = buffer[*pos + n - 1 - i];
  *pos += n;
}

// The engine stores integers in host order and writes them reversed, which is
// big-endian only on a little-endian host; say so loudly if that ever changes.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "little-endian host expected");

void PutU64(uint64_t value, uint8_t* buffer, uint32_t* pos) { PutBigEndian(&value, 8, buffer, pos); }
void PutU32(uint32_t value, uint8_t* buffer, uint32_t* pos) { PutBigEndian(&value, 4, buffer, pos); }
void PutU16(uint16_t value, uint8_t* buffer, uint32_t* pos) { PutBigEndian(&value, 2, buffer, pos); }

uint32_t GetU32(const uint8_t* buffer, uint32_t* pos) {
  uint32_t value = 0;
  GetBigEndian(&value, 4, buffer, pos);
  return value;
}

uint16_t GetU16(const uint8_t* buffer, uint32_t* pos) {
  uint16_t value = 0;
  GetBigEndian(&value, 2, buffer, pos);
  return value;
}

char* BytesToHex(const uint8_t* bytes, int n) {
  static const char kDigits[] = "0123456789abcdef";
  if (n < 1) n = 0;
  char* text = static_cast<char*>(keAlloc(2 * static_cast<size_t>(n) + 1));
  if (!text) return nullptr;
  for (int i = 0; i < n; ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
  text[2 * n] = '\0';
  return text;
}

namespace {

// Digits, then lower-case and upper-case letters; positions of 16 and more are
// reduced by 6 so that both cases give 10..15. Anything else counts as 16.
int HexDigitValue(char c) {
  static const char kTable[] = "0123456789abcdefABCDEF";
  const char* at = c ? std::strchr(kTable, c) : nullptr;
  if (at == nullptr) return 16;
  int position = static_cast<int>(at - kTable);
  return position >= 16 ? position - 6 : position;
}

}  // namespace

uint8_t* HexToBytes(const char* text, int length) {
  int n = length > 0 ? length / 2 : 0;
  uint8_t* bytes = static_cast<uint8_t*>(keAlloc(static_cast<size_t>(n) + 1));
  if (!bytes) return nullptr;
  for (int i = 0; i < n; ++i) {
    int value = HexDigitValue(text[2 * i]) * 16 + HexDigitValue(text[2 * i + 1]);
    bytes[i] = static_cast<uint8_t>(value % 256);
  }
  bytes[n] = 0;
  return bytes;
}

void FillRandomBytes(uint8_t* out, int n) {
  // The keys these bytes make protect content, so they come from the
  // kernel's generator rather than a seeded 15-bit runtime one.
  size_t filled = 0;
  size_t want = n > 0 ? static_cast<size_t>(n) : 0;
  while (filled < want) {
    ssize_t got = getrandom(out + filled, want - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      std::abort();  // no randomness at all: refuse to write predictable keys
    }
    filled += static_cast<size_t>(got);
  }
}

uint8_t* RandomBytes(int n) {
  size_t size = n > 0 ? static_cast<size_t>(n) : 0;
  uint8_t* bytes = static_cast<uint8_t*>(keAlloc(size ? size : 1));
  if (bytes) FillRandomBytes(bytes, n);
  return bytes;
}

char* ConcatStrings(const char* a, const char* b) {
  size_t la = std::strlen(a), lb = std::strlen(b);
  char* joined = static_cast<char*>(keAlloc(la + lb + 1));
  if (!joined) return nullptr;
  std::memcpy(joined, a, la);
  std::memcpy(joined + la, b, lb + 1);
  return joined;
}
