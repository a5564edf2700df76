// The reversible scrambling under which the secret phrase is kept in the configuration.
// It only keeps the phrase from being read at a glance; it is not encryption.
#pragma once

#include <cstdint>

/// Fixed in the program: every stored phrase depends on it.
constexpr uint8_t kPhraseSeed = 0xD4;

/// Byte 0 ^= seed, then each byte ^= the already changed byte before it.
void ChainXor(uint8_t* bytes, int n);
/// Undoes ChainXor, from the last byte down.
void UnchainXor(uint8_t* bytes, int n);
/// Reverses the order of the n bytes.
void ReverseBytes(uint8_t* bytes, int n);

/// Two rounds of ChainXor and ReverseBytes, in place. n <= 0 changes nothing.
void ScramblePhrase(uint8_t* bytes, int n);
/// Two rounds of ReverseBytes and UnchainXor: the inverse of ScramblePhrase.
void UnscramblePhrase(uint8_t* bytes, int n);
