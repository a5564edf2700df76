#include "MediaType.h"

#include <cstring>

namespace {

struct VideoSubtype {
  const keGuid* subtype;
  const char* name;
  int bitsPerPixel;
};

const VideoSubtype kVideoSubtypes[] = {
    {&MEDIASUBTYPE_YV12, "YV12", 12},   {&MEDIASUBTYPE_IYUV, "IYUV", 12},   {&MEDIASUBTYPE_YUY2, "YUY2", 16},
    {&MEDIASUBTYPE_UYVY, "UYVY", 16},   {&MEDIASUBTYPE_YVYU, "YVYU", 16},   {&MEDIASUBTYPE_AYUV, "AYUV", 32},
    {&MEDIASUBTYPE_RGB32, "RGB32", 32}, {&MEDIASUBTYPE_RGB24, "RGB24", 24},
};

const VideoSubtype* FindVideoSubtype(const keGuid& subtype) {
  for (const auto& entry : kVideoSubtypes)
    if (*entry.subtype == subtype) return &entry;
  return nullptr;
}

}  // namespace

MediaType MakePcmAudioType(int channels, int samplesPerSec) {
  MediaType type;
  type.majortype = MEDIATYPE_Audio;
  type.subtype = MEDIASUBTYPE_PCM;
  type.formattype = FORMAT_WaveFormatEx;
  type.bFixedSizeSamples = true;
  type.wave.wFormatTag = kWaveFormatPcm;
  type.wave.nChannels = static_cast<uint16_t>(channels);
  type.wave.nSamplesPerSec = static_cast<uint32_t>(samplesPerSec);
  type.wave.wBitsPerSample = 16;
  type.wave.nBlockAlign = static_cast<uint16_t>(channels * 2);
  type.wave.nAvgBytesPerSec = static_cast<uint32_t>(samplesPerSec) * type.wave.nBlockAlign;
  type.lSampleSize = type.wave.nBlockAlign;
  return type;
}

MediaType MakeVideoType(const keGuid& subtype, int width, int height, int64_t avgTimePerFrame) {
  MediaType type;
  type.majortype = MEDIATYPE_Video;
  type.subtype = subtype;
  type.formattype = FORMAT_VideoInfo;
  type.bFixedSizeSamples = true;
  const int64_t bytes = VideoFrameBytes(subtype, width, height);
  type.lSampleSize = bytes > 0 ? static_cast<uint32_t>(bytes) : 0;
  type.video.rcSource = {0, 0, width, height};
  type.video.rcTarget = {0, 0, width, height};
  type.video.AvgTimePerFrame = avgTimePerFrame;
  BitmapInfoHeader& header = type.video.bmiHeader;
  header.biWidth = width;
  header.biHeight = height;
  const VideoSubtype* entry = FindVideoSubtype(subtype);
  header.biBitCount = static_cast<uint16_t>(entry ? entry->bitsPerPixel : 0);
  header.biCompression = subtype.data1;
  header.biSizeImage = type.lSampleSize;
  if (avgTimePerFrame > 0)
    type.video.dwBitRate =
        static_cast<uint32_t>(static_cast<double>(type.lSampleSize) * 8.0 * 1e7 / static_cast<double>(avgTimePerFrame));
  return type;
}

int64_t VideoFrameBytes(const keGuid& subtype, int width, int height) {
  const VideoSubtype* entry = FindVideoSubtype(subtype);
  if (!entry || width < 0 || height < 0) return -1;
  const int64_t pixels = static_cast<int64_t>(width) * height;
  if (entry->bitsPerPixel == 12) return pixels + 2 * ((width / 2) * static_cast<int64_t>(height / 2));
  return pixels * entry->bitsPerPixel / 8;
}

const char* SubtypeName(const keGuid& subtype) {
  if (subtype == MEDIASUBTYPE_PCM) return "PCM";
  const VideoSubtype* entry = FindVideoSubtype(subtype);
  return entry ? entry->name : "?";
}
