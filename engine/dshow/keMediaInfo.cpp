#include "keMediaInfo.h"

#include <algorithm>
#include <cmath>

#include "FilterGraph.h"
#include "MediaDetector.h"
#include "keFrameRateProbe.h"
#include "keSnapshot.h"
#include "keSourceTiming.h"

namespace {

/// Files with more streams than this are not probed.
constexpr int32_t kMostStreams = 3;

/// How long the frame-rate measurement may decode, wall time.
constexpr uint32_t kMeasureWaitMs = 1000;

}  // namespace

keMediaInfo::keMediaInfo(keEngineContext* context, const char* path)
    : detector(std::make_unique<MediaDetector>()), fileName(path ? path : "") {
  if (Failed(detector->SetFilename(fileName))) {
    failureReason = detector->FailureReason();
    return;
  }
  int32_t streams = 0;
  if (Failed(detector->GetOutputStreams(&streams))) streams = 0;
  if (streams > kMostStreams) {
    failureReason = "\"" + fileName + "\" has " + std::to_string(streams) + " streams; at most " +
                    std::to_string(kMostStreams) + " are probed";
    return;
  }
  opened = true;

  double audioLength = 0.0;
  double videoLength = 0.0;
  for (int32_t stream = 0; stream < streams; ++stream) {
    detector->SetCurrentStream(stream);
    double length = -1.0;
    if (detector->GetStreamLength(&length) != S_OK) length = -1.0;
    MediaType type;
    detector->GetStreamMediaType(&type);
    // The first stream of each kind, as the reader connects it: a file with
    // two audio tracks shows the track that is encoded.
    if (type.formattype == FORMAT_WaveFormatEx && !hasAudio) {
      if (firstKind == -1) firstKind = 0;
      hasAudio = true;
      audioLength = length;
      channels = type.wave.nChannels;
      sampleRate = static_cast<int32_t>(type.wave.nSamplesPerSec);
    } else if (type.formattype == FORMAT_VideoInfo && !hasVideo) {
      if (firstKind == -1) firstKind = 1;
      hasVideo = true;
      videoLength = length;
      double stated = 0.0;
      const HRESULT result = detector->GetFrameRate(&stated);
      const int32_t kind = firstKind;
      // The reader's choice, but without its fallback to 25: a rate that
      // could not be measured is shown as it is.
      frameRate = keChooseFrameRate(result, stated, [&] {
                    keFrameRateProbe probe(context, fileName.c_str(), kMeasureWaitMs, kind);
                    return probe.GetMeasuredFrameRate();
                  }).foundRate;
      width = type.video.rcSource.right;
      height = type.video.rcSource.bottom;
      if (width == 0 && height == 0) {
        width = type.video.bmiHeader.biWidth;
        height = type.video.bmiHeader.biHeight;
      }
      // A single row or column is delivered stretched to two; the source
      // is still one picture element high or wide.
      int32_t statedWidth = 0, statedHeight = 0;
      if (Succeeded(detector->GetPictureSize(&statedWidth, &statedHeight))) {
        if (statedWidth > 0) width = std::min(width, statedWidth);
        if (statedHeight > 0) height = std::min(height, statedHeight);
      }
    }
    // Streams of other formats (the detector could not describe their
    // decoded data) and further streams of a kind are left out.
  }
  duration = audioLength > videoLength ? audioLength : videoLength;

  FilterGraph graph;
  const HRESULT rendered = graph.RenderFile(fileName);
  // Opened once already: a second open that fails is the system's doing
  // (out of descriptors or memory), not the file's.
  if (Failed(rendered)) failureReason = graph.LastFailureReason();
  renderable = rendered == S_OK;
  audioNotRendered = rendered == VFW_S_AUDIO_NOT_RENDERED;
  videoNotRendered = rendered == VFW_S_VIDEO_NOT_RENDERED;
}

keMediaInfo::~keMediaInfo() = default;

void keMediaInfo::CloseMediaDet() { detector.reset(); }

bool keMediaInfo::SaveSnapshotJpeg(const char* path, double seconds) {
  if (!opened || !hasVideo || !path) return false;
  return keSaveSnapshotJpeg(fileName, seconds, path);
}
