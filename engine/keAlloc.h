// The engine's heap. Buffers and strings that pass between engine objects are
// allocated with keAlloc and released by their new owner with keFree.
//
// keAlloc returns null when memory has run out, as malloc does; every caller
// checks, so that a shortage fails the run with its reason instead of ending
// the process.
#pragma once

#include <cstddef>

void* keAlloc(size_t size);
void keFree(void* pointer);

/// A keAlloc'd NUL-terminated copy of `text` (null for null, and null when
/// memory has run out).
char* keStrDup(const char* text);

/// For tests: the `n`th keAlloc from now on (1 is the next one, on any
/// thread) returns null as if memory had run out; 0 lets every allocation
/// through again. Only that one fails.
void keFailNthAllocation(long n);
/// For tests: how many keAlloc calls are still to come before the one made
/// to fail; 0 once it has failed (or when none is to).
long keAllocationsUntilFailure();
