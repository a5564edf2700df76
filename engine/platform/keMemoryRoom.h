// How the engine keeps going when memory runs out. Under a limit on the
// process's address space (`ulimit -v`) two things matter:
//
// - The C library reserves address space for every thread that allocates
//   (64 MiB for each of its per-thread heaps): with a decoder and two
//   encoders per profile, that alone exceeded a limit of a few hundred MiB
//   before the encode had used a tenth of it. Under such a limit the heaps
//   are kept few, so the limit is spent on what the encode really uses.
// - A thread whose allocation failed must still record why, close its queues
//   and report, and each of those allocates a little. A room of address space
//   kept aside is given back first by such a thread, so that its handler does
//   not fail in turn (which would end the process).
#pragma once

#include <cstddef>

namespace kePlatform {

/// The address space kept aside by KeepMemoryRoom.
constexpr size_t kMemoryRoomBytes = 4u << 20;

/// Once per process: under a limit on the address space, the C library's
/// per-thread heaps are kept to a few, and what is freed stays in them (so
/// that room found free is still there a moment later). Without a limit it
/// changes nothing.
void FitAllocatorToAddressLimit();

/// Sets the room aside, again when it was given back; nothing happens when
/// even the room cannot be had.
void KeepMemoryRoom();

/// Gives the room back (any thread, any number of times; never allocates).
/// For a handler of a failed allocation, before it records the failure.
void ReleaseMemoryRoom() noexcept;

/// True when `bytes` more memory could not be had at this moment (the
/// address-space limit or the system's commit limit reached). Touches no
/// memory and keeps none. For telling a library's failure that may hide a
/// shortage (a decoder that calls it damaged data) from what it says it is.
bool MemoryRunsShort(size_t bytes);

}  // namespace kePlatform
