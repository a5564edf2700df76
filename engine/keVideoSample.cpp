#include "keVideoSample.h"

#include <cstring>

#include "keAlloc.h"
#include "keVideoSampleFactory.h"

keVideoSample::keVideoSample(keVideoSampleFactory* owner, int32_t w, int32_t h, int32_t formatCode)
    : factory(owner), width(w), height(h) {
  const int32_t area = w * h;
  if (formatCode == keVideoFormatYuv420) {
    sizes[0] = area;
    sizes[1] = area >> 2;
    sizes[2] = area >> 2;
  } else if (formatCode == keVideoFormatYuv444) {
    sizes[0] = sizes[1] = sizes[2] = area;
  }
}

keVideoSample::~keVideoSample() { FreeOwnPlanes(); }

void keVideoSample::FreeOwnPlanes() {
  if (!owns) return;
  for (auto& plane : planes) {
    keFree(plane);
    plane = nullptr;
  }
  owns = false;
}

bool keVideoSample::SetPlanes(uint8_t* const source[4], bool copy) {
  if (!copy) {
    FreeOwnPlanes();
    for (int i = 0; i < 4; ++i) planes[i] = source[i];
    return true;
  }
  if (!owns) {
    owns = true;
    for (int i = 0; i < 4; ++i) {
      planes[i] = sizes[i] > 0 ? static_cast<uint8_t*>(keAlloc(static_cast<size_t>(sizes[i]))) : nullptr;
      if (sizes[i] > 0 && planes[i] == nullptr) {
        FreeOwnPlanes();
        return false;
      }
    }
  }
  for (int i = 0; i < 4; ++i)
    if (sizes[i] > 0 && source[i] != nullptr) std::memcpy(planes[i], source[i], static_cast<size_t>(sizes[i]));
  return true;
}

void keVideoSample::OnZeroRef() {
  if (factory) factory->RecycleSample(this);
}
