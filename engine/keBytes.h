// Byte utilities: big-endian puts and gets at a running position, hexadecimal
// text, random bytes and string concatenation. Every buffer or string these
// return belongs to the caller, who releases it with keFree; each is null
// when memory has run out, which the caller checks.
#pragma once

#include <cstdint>

void PutBytes(uint8_t* buffer, uint32_t* pos, const void* source, uint32_t n);
void GetBytes(const uint8_t* buffer, uint32_t* pos, void* destination, uint32_t n);

/// Stores the n-byte little-endian value at `value` most significant byte first.
void PutBigEndian(const void* value, uint32_t n, uint8_t* buffer, uint32_t* pos);
/// Reads n bytes stored most significant byte first into a little-endian value.
void GetBigEndian(void* destination, uint32_t n, const uint8_t* buffer, uint32_t* pos);

void PutU64(uint64_t value, uint8_t* buffer, uint32_t* pos);
void PutU32(uint32_t value, uint8_t* buffer, uint32_t* pos);
void PutU16(uint16_t value, uint8_t* buffer, uint32_t* pos);
uint32_t GetU32(const uint8_t* buffer, uint32_t* pos);
uint16_t GetU16(const uint8_t* buffer, uint32_t* pos);

/// 2n lower-case hex characters, high nibble first, NUL-terminated.
char* BytesToHex(const uint8_t* bytes, int n);
/// length/2 bytes decoded from hex text of either case, then one NUL byte.
/// A trailing odd character is ignored; a non-hex character counts as 16.
uint8_t* HexToBytes(const char* text, int length);
/// n bytes from the system's cryptographic random source.
uint8_t* RandomBytes(int n);
/// Fills `out` with n bytes from the system's cryptographic random source.
void FillRandomBytes(uint8_t* out, int n);
/// a followed by b in a new string.
char* ConcatStrings(const char* a, const char* b);
