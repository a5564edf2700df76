#include "MediaDetector.h"

#include "OfferedMediaTypes.h"

HRESULT MediaDetector::SetFilename(const std::string& path) {
  current_ = 0;
  return file_.Open(path);
}

HRESULT MediaDetector::GetOutputStreams(int32_t* count) const {
  if (!count) return E_POINTER;
  *count = 0;
  if (!file_.IsOpen()) return MG_E_WRONG_STATE;
  *count = static_cast<int32_t>(file_.Streams().size());
  return S_OK;
}

HRESULT MediaDetector::SetCurrentStream(int32_t stream) {
  if (!file_.IsOpen()) return MG_E_WRONG_STATE;
  if (stream < 0 || stream >= static_cast<int32_t>(file_.Streams().size())) return MG_E_NO_STREAM;
  current_ = stream;
  return S_OK;
}

HRESULT MediaDetector::CheckCurrent() const {
  if (!file_.IsOpen()) return MG_E_WRONG_STATE;
  if (current_ >= static_cast<int32_t>(file_.Streams().size())) return MG_E_NO_STREAM;
  return S_OK;
}

HRESULT MediaDetector::GetStreamType(keGuid* majorType) const {
  if (!majorType) return E_POINTER;
  *majorType = GUID_NULL;
  const HRESULT check = CheckCurrent();
  if (Failed(check)) return check;
  *majorType = file_.Streams()[current_].kind == StreamKind::Audio ? MEDIATYPE_Audio : MEDIATYPE_Video;
  return S_OK;
}

HRESULT MediaDetector::GetStreamMediaType(MediaType* type) const {
  if (!type) return E_POINTER;
  *type = MediaType();
  const HRESULT check = CheckCurrent();
  if (Failed(check)) return check;
  const std::vector<MediaType> offered = OfferedMediaTypes(file_, static_cast<size_t>(current_));
  if (offered.empty()) {
    // The container does not say enough to describe the decoded data; the
    // major type is still known.
    GetStreamType(&type->majortype);
    return S_FALSE;
  }
  *type = offered.front();
  return S_OK;
}

HRESULT MediaDetector::GetPictureSize(int32_t* width, int32_t* height) const {
  if (!width || !height) return E_POINTER;
  *width = *height = 0;
  const HRESULT check = CheckCurrent();
  if (Failed(check)) return check;
  if (file_.Streams()[current_].kind != StreamKind::Video) return E_FAIL;
  const AVCodecParameters* parameters = file_.Stream(static_cast<size_t>(current_))->codecpar;
  *width = parameters->width;
  *height = parameters->height;
  return S_OK;
}

HRESULT MediaDetector::GetStreamLength(double* seconds) const {
  if (!seconds) return E_POINTER;
  *seconds = -1.0;
  const HRESULT check = CheckCurrent();
  if (Failed(check)) return check;
  return file_.StreamLength(static_cast<size_t>(current_), seconds) ? S_OK : S_FALSE;
}

HRESULT MediaDetector::GetFrameRate(double* fps) const {
  if (!fps) return E_POINTER;
  *fps = 0.0;
  const HRESULT check = CheckCurrent();
  if (Failed(check)) return check;
  if (file_.Streams()[current_].kind != StreamKind::Video) return E_FAIL;
  return file_.StatedFrameRate(static_cast<size_t>(current_), fps) ? S_OK : S_FALSE;
}

HRESULT MediaDetector::ScanDataEnd(DataEndScan* scan, const std::atomic<bool>* stop) {
  if (!scan) return E_POINTER;
  *scan = DataEndScan();
  if (!file_.IsOpen()) return MG_E_WRONG_STATE;
  *scan = ::ScanDataEnd(file_, stop);
  if (stop && *stop) {
    *scan = DataEndScan();
    return E_ABORT;
  }
  return S_OK;
}
