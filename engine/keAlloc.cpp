#include "keAlloc.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace {

/// Allocations still to go before the one made to fail; 0 or less: none.
std::atomic<long> gAllocationsBeforeFailure{0};

}  // namespace

void* keAlloc(size_t size) {
  // One relaxed load on the common path: allocations here are per buffer,
  // never per byte or per sample.
  if (gAllocationsBeforeFailure.load(std::memory_order_relaxed) > 0 && gAllocationsBeforeFailure.fetch_sub(1) == 1)
    return nullptr;
  return std::malloc(size);
}

void keFree(void* pointer) { std::free(pointer); }

void keFailNthAllocation(long n) { gAllocationsBeforeFailure.store(n > 0 ? n : 0); }

long keAllocationsUntilFailure() { return std::max(0L, gAllocationsBeforeFailure.load()); }
