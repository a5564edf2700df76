#include "OfferedMediaTypes.h"

namespace {

const keGuid* const kConversionOrder[] = {
    &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YV12, &MEDIASUBTYPE_YUY2,  &MEDIASUBTYPE_UYVY,
    &MEDIASUBTYPE_YVYU, &MEDIASUBTYPE_AYUV, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_RGB24,
};

std::vector<MediaType> OfferedVideoTypes(const MediaFile& file, size_t streamIndex) {
  const AVCodecParameters* parameters = file.Stream(streamIndex)->codecpar;
  const int width = EvenPictureSize(parameters->width);
  const int height = EvenPictureSize(parameters->height);
  if (width == 0 || height == 0) return {};
  double fps = 0.0;
  int64_t timePerFrame = 0;
  if (file.StatedFrameRate(streamIndex, &fps) && fps > 0.0)
    timePerFrame = static_cast<int64_t>(static_cast<double>(kUnitsPerSecond) / fps + 0.5);

  std::vector<MediaType> types;
  const keGuid own = SubtypeOfPixelFormat(static_cast<AVPixelFormat>(parameters->format));
  if (own != GUID_NULL) types.push_back(MakeVideoType(own, width, height, timePerFrame));
  for (const keGuid* subtype : kConversionOrder)
    if (*subtype != own) types.push_back(MakeVideoType(*subtype, width, height, timePerFrame));
  return types;
}

std::vector<MediaType> OfferedAudioTypes(const MediaFile& file, size_t streamIndex) {
  const AVCodecParameters* parameters = file.Stream(streamIndex)->codecpar;
  const int channels = parameters->ch_layout.nb_channels;
  const int rate = parameters->sample_rate;
  if (channels <= 0 || rate <= 0) return {};
  std::vector<MediaType> types;
  if (channels != 2) types.push_back(MakePcmAudioType(channels, rate));
  types.push_back(MakePcmAudioType(2, rate));
  return types;
}

}  // namespace

std::vector<MediaType> OfferedMediaTypes(const MediaFile& file, size_t streamIndex) {
  return file.Streams()[streamIndex].kind == StreamKind::Video ? OfferedVideoTypes(file, streamIndex)
                                                               : OfferedAudioTypes(file, streamIndex);
}

keGuid SubtypeOfPixelFormat(AVPixelFormat format) {
  switch (format) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:  // the same planes; only the value range differs
      return MEDIASUBTYPE_IYUV;
    case AV_PIX_FMT_YUYV422: return MEDIASUBTYPE_YUY2;
    case AV_PIX_FMT_UYVY422: return MEDIASUBTYPE_UYVY;
    case AV_PIX_FMT_YVYU422: return MEDIASUBTYPE_YVYU;
    case AV_PIX_FMT_BGRA:
    case AV_PIX_FMT_BGR0: return MEDIASUBTYPE_RGB32;
    case AV_PIX_FMT_BGR24: return MEDIASUBTYPE_RGB24;
    default: return GUID_NULL;
  }
}
