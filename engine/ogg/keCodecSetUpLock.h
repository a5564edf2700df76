// The encoders' libraries set up one at a time. libvorbis does not check its
// allocations, so its set-up runs only once the heap has shown room for it
// (keVorbisState); under a limit on the address space, a libtheora set-up on
// another thread at that moment would take that room, and libvorbis would
// then write through a null pointer.
#pragma once

#include <mutex>

/// Held for the whole of a libvorbis or libtheora encoder set-up.
std::mutex& CodecSetUpMutex();
