#include "keThreadName.h"

#include <pthread.h>

#include <cstring>

namespace kePlatform {

void SetCurrentThreadName(const char* name) {
  char shortName[16];  // the kernel keeps 15 characters and a NUL
  std::strncpy(shortName, name ? name : "", sizeof shortName - 1);
  shortName[sizeof shortName - 1] = '\0';
  pthread_setname_np(pthread_self(), shortName);
}

}  // namespace kePlatform
