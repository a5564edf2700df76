#include "keMemoryRoom.h"

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <atomic>
#include <mutex>

namespace kePlatform {

namespace {

/// The per-thread heaps allowed under an address-space limit: the main heap
/// and one more, shared by the engine's threads.
constexpr int kHeapsUnderLimit = 2;
constexpr int kNeverTrim = 1 << 30;

std::atomic<void*> gRoom{nullptr};

}  // namespace

void FitAllocatorToAddressLimit() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
    mallopt(M_ARENA_MAX, kHeapsUnderLimit);
    // Freed memory stays in the heaps, for whoever allocates next in the
    // process, instead of going back to the system for anything to take.
    mallopt(M_TRIM_THRESHOLD, kNeverTrim);
  });
}

void KeepMemoryRoom() {
  if (gRoom.load() != nullptr) return;
  // Address space only: never touched, so it costs no memory while kept.
  void* room = mmap(nullptr, kMemoryRoomBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (room == MAP_FAILED) return;
  void* none = nullptr;
  if (!gRoom.compare_exchange_strong(none, room)) munmap(room, kMemoryRoomBytes);
}

void ReleaseMemoryRoom() noexcept {
  void* room = gRoom.exchange(nullptr);
  if (room != nullptr) munmap(room, kMemoryRoomBytes);
}

bool MemoryRunsShort(size_t bytes) {
  if (bytes == 0) return false;
  // Writable and private, so that a system that does not overcommit charges
  // it as the library's own allocation would be charged; never touched.
  void* trial = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (trial == MAP_FAILED) return true;
  munmap(trial, bytes);
  return false;
}

}  // namespace kePlatform
