#include "AudioFormat.h"

AudioFormat AudioFormatForBitrate(int kbps) {
  if (kbps <= 11) return {8000, 1};
  if (kbps <= 22) return {11025, 1};
  if (kbps <= 40) return {22050, 2};
  return {44100, 2};
}
