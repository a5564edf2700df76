#include "DirectShowVideoSource.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include "FilterReleaseWait.h"
#include "keVideoSample.h"

namespace {

const keGuid* const kAccepted[] = {
    &MEDIASUBTYPE_YV12, &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YUY2,  &MEDIASUBTYPE_UYVY,
    &MEDIASUBTYPE_YVYU, &MEDIASUBTYPE_AYUV, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_RGB24,
};

}  // namespace

DirectShowVideoSource::DirectShowVideoSource(keEngineContext* engineContext)
    : BaseRenderer("DirectShowVideoSource"), keVideoSourceBase(engineContext) {}

DirectShowVideoSource::~DirectShowVideoSource() = default;

HRESULT DirectShowVideoSource::CheckMediaType(const MediaType& type) {
  if (type.majortype != MEDIATYPE_Video) return S_FALSE;
  bool known = false;
  for (const keGuid* subtype : kAccepted) known = known || type.subtype == *subtype;
  if (!known) return S_FALSE;

  int32_t w = type.video.rcSource.right;
  int32_t h = type.video.rcSource.bottom;
  if (w == 0 && h == 0) {
    w = type.video.bmiHeader.biWidth;
    h = type.video.bmiHeader.biHeight;
  }
  // A top-down picture (negative height) or an empty one is not accounted
  // for by the conversions.
  if (w <= 0 || h <= 0) return S_FALSE;

  std::lock_guard<std::mutex> lock(deliveryMutex);
  width = w;
  height = h;
  converter = std::make_unique<keYuvFrameConverter>(width, height, type.subtype);
  factory = std::make_unique<keVideoSampleFactory>(width, height, keVideoFormatYuv420);
  current = nullptr;
  av_image_fill_arrays(pictureData, pictureLinesize, converter->GetBuffer(), AV_PIX_FMT_YUV420P, width, height, 1);
  // The sample's planes follow the engine's layout (chroma a quarter of the
  // luma, keVideoSample.h), which is the converter's at any size.
  pictureData[1] = converter->GetU();
  pictureData[2] = converter->GetV();
  pictureLinesize[1] = pictureLinesize[2] = width / 2;
  pictureData[3] = nullptr;
  outWidth = width;
  outHeight = height;
  return S_OK;
}

HRESULT DirectShowVideoSource::OnStartStreaming() {
  NotifyFormat(outWidth, outHeight, GetFrameRate(), GetCropTop(), GetCropBottom(), GetCropLeft(), GetCropRight());
  NotifyStart();
  return S_OK;
}

HRESULT DirectShowVideoSource::DoRenderSample(MediaSample* mediaSample) {
  int64_t sampleStart = 0, sampleEnd = 0;
  mediaSample->GetTime(&sampleStart, &sampleEnd);
  if (countOnly) {
    if (frameCount.load() == 0.0) firstCountedStart = sampleStart;
    frameCount = frameCount.load() + 1.0;  // only the streaming thread counts
    lastCountedEnd = sampleEnd;
    return S_OK;
  }
  if (rangeCheck) {
    const double s = static_cast<double>(sampleStart);
    const bool afterEnd = GetEnd() > 0.0 && s > GetEnd() * 1e7;
    if (s < GetStart() * 1e7 || afterEnd) {
      if (afterEnd) EndOfStream();
      return S_OK;
    }
  }

  std::lock_guard<std::mutex> lock(deliveryMutex);
  if (endDelivered || !converter || !factory) return S_OK;
  // The frame held back from the last call goes out now that it is known
  // not to be the last; the picture buffer is reused only once every
  // listener has let go of it.
  if (pending && !HandOnPending(false)) return S_OK;
  // A stop may have cut the last wait short: never reload a sample that a
  // listener still reads.
  if (current && !WaitUnlessStopping(current->GetZeroRefEvent())) return S_OK;
  if (!converter->ConvertSample(mediaSample)) return E_OUTOFMEMORY;
  if (GetDeinterlace()) deinterlacer.Apply(pictureData, pictureLinesize, width, height);
  mediaSample->GetTime(&sampleStart, &sampleEnd);
  keVideoSample* sample = factory->GetSample(pictureData, Copies());
  if (!sample) return E_OUTOFMEMORY;
  sample->start = sampleStart;
  sample->end = sampleEnd;
  lastSampleEnd = sampleEnd;
  current = sample;
  pending = true;
  return S_OK;
}

bool DirectShowVideoSource::HandOnPending(bool last) {
  pending = false;
  current->last = last;
  lastDeliveredEnd = current->end;
  NotifySample(current);
  return WaitUnlessStopping(current->GetZeroRefEvent());
}

HRESULT DirectShowVideoSource::EndOfStream() {
  {
    std::lock_guard<std::mutex> lock(deliveryMutex);
    if (!endDelivered) {
      endDelivered = true;
      // The frame held back is the last one: it goes out once, flagged.
      if (pending && current) HandOnPending(true);
      NotifyEndOfStream();
    }
  }
  return BaseRenderer::EndOfStream();
}
