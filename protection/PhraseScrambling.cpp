// Scrambling of the stored secret phrase.
#include "PhraseScrambling.h"

#include <algorithm>

void ChainXor(uint8_t* bytes, int n) {
  for (int i = 0; i < n; ++i) bytes[i] ^= i == 0 ? kPhraseSeed : bytes[i - 1];
}

void UnchainXor(uint8_t* bytes, int n) {
  // From the end, so that each byte is undone with its neighbour still scrambled.
  for (int i = n - 1; i > 0; --i) bytes[i] ^= bytes[i - 1];
  if (n > 0) bytes[0] ^= kPhraseSeed;
}

void ReverseBytes(uint8_t* bytes, int n) {
  if (n > 0) std::reverse(bytes, bytes + n);
}

void ScramblePhrase(uint8_t* bytes, int n) {
  for (int round = 0; round < 2; ++round) {
    ChainXor(bytes, n);
    ReverseBytes(bytes, n);
  }
}

void UnscramblePhrase(uint8_t* bytes, int n) {
  for (int round = 0; round < 2; ++round) {
    ReverseBytes(bytes, n);
    UnchainXor(bytes, n);
  }
}
