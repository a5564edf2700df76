// Process-wide table of recursive mutexes keyed by label.
#include "keNamedMutexTable.h"

#include <map>
#include <string>

namespace kePlatform {
namespace {

std::mutex& TableLock() {
  static std::mutex lock;
  return lock;
}

std::map<std::string, std::weak_ptr<std::recursive_mutex>>& Table() {
  static auto* table = new std::map<std::string, std::weak_ptr<std::recursive_mutex>>();
  return *table;
}

}  // namespace

SharedRecursiveMutex AcquireNamedMutex(const char* label) {
  if (label == nullptr || *label == '\0') return std::make_shared<std::recursive_mutex>();
  std::lock_guard<std::mutex> guard(TableLock());
  auto& entry = Table()[label];
  SharedRecursiveMutex mutex = entry.lock();
  if (!mutex) {
    mutex = std::make_shared<std::recursive_mutex>();
    entry = mutex;
  }
  return mutex;
}

size_t NamedMutexCount() {
  std::lock_guard<std::mutex> guard(TableLock());
  size_t live = 0;
  for (auto it = Table().begin(); it != Table().end();) {
    if (it->second.expired()) {
      it = Table().erase(it);
    } else {
      ++live;
      ++it;
    }
  }
  return live;
}

}  // namespace kePlatform
