#include "keAudioSample.h"

#include <cstring>

#include "keAlloc.h"
#include "keAudioSampleFactory.h"

keAudioSample::keAudioSample(keAudioSampleFactory* owner) : factory(owner) {}

keAudioSample::~keAudioSample() { FreeOwnBuffer(); }

void keAudioSample::FreeOwnBuffer() {
  if (owns) keFree(data);
  data = nullptr;
  owns = false;
  capacity = 0;
}

bool keAudioSample::SetData(const uint8_t* bytes, int32_t size, bool copy) {
  if (!copy) {
    FreeOwnBuffer();
    data = const_cast<uint8_t*>(bytes);
    length = size;
    return true;
  }
  if (!owns) data = nullptr;  // stop pointing at a caller's block
  if (size > capacity) FreeOwnBuffer();
  if (!owns && size > 0) {
    // Three times the block, so that the slightly larger blocks decoders
    // deliver later rarely force another allocation.
    data = static_cast<uint8_t*>(keAlloc(3 * static_cast<size_t>(size)));
    if (!data) {
      length = 0;
      return false;
    }
    capacity = 3 * size;
    owns = true;
  }
  if (size > 0) std::memcpy(data, bytes, static_cast<size_t>(size));
  length = size > 0 ? size : 0;
  return true;
}

void keAudioSample::OnZeroRef() {
  if (factory) factory->RecycleSample(this);
}
