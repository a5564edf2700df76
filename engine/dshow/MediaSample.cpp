#include "MediaSample.h"

#include <cstddef>

HRESULT MediaSample::GetTime(int64_t* start, int64_t* end) const {
  if (!start || !end) return E_POINTER;
  *start = timeSet_ ? start_ : 0;
  *end = timeSet_ ? end_ : 0;
  return timeSet_ ? S_OK : MG_E_NO_TIME;
}

HRESULT MediaSample::GetPointer(uint8_t** data) {
  if (!data) return E_POINTER;
  *data = buffer_.data();
  return S_OK;
}

void MediaSample::Allocate(int32_t size) {
  const size_t bytes = size > 0 ? static_cast<size_t>(size) : 0;
  if (bytes != buffer_.size()) buffer_.assign(bytes, 0);
  actualLength_ = 0;
}

HRESULT MediaSample::SetActualDataLength(int32_t length) {
  if (length < 0) return E_INVALIDARG;
  if (length > GetSize()) return MG_E_BUFFER_TOO_SMALL;
  actualLength_ = length;
  return S_OK;
}

void MediaSample::SetTime(int64_t start, int64_t end) {
  timeSet_ = true;
  start_ = start;
  end_ = end;
}
