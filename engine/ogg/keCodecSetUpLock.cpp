#include "keCodecSetUpLock.h"

std::mutex& CodecSetUpMutex() {
  static std::mutex mutex;
  return mutex;
}
