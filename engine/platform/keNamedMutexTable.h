// Process-wide table of recursive mutexes keyed by label.
//
// Engine mutexes carry a label, and every mutex created with the same label is
// the same lock: two unrelated objects labelled "Index Mutex" exclude each
// other. The lock is recursive, so one thread may take it again while it holds
// it. An empty or null label gives a private, unshared mutex.
#pragma once

#include <memory>
#include <mutex>

namespace kePlatform {

using SharedRecursiveMutex = std::shared_ptr<std::recursive_mutex>;

/// Returns the mutex registered under `label`, creating it on first use.
/// Entries live as long as any holder keeps the returned pointer.
SharedRecursiveMutex AcquireNamedMutex(const char* label);

/// Number of labels currently held by at least one owner (for tests).
size_t NamedMutexCount();

}  // namespace kePlatform
