// The engine's heap. Buffers and strings that pass between engine objects are
// allocated with keAlloc and released by their new owner with keFree.
#pragma once

#include <cstddef>
#include <cstdlib>

inline void* keAlloc(size_t size) { return std::malloc(size); }
inline void keFree(void* pointer) { std::free(pointer); }

/// A keAlloc'd NUL-terminated copy of `text` (null for null).
char* keStrDup(const char* text);
