#include "keDirectShowReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "DirectShowAudioSource.h"
#include "DirectShowVideoSource.h"
#include "FfmpegSourceFilter.h"
#include "FilterGraph.h"
#include "MediaDetector.h"
#include "NullRenderer.h"
#include "keFrameRateProbe.h"
#include "keSourceTiming.h"

namespace {

/// How long the frame-rate measurement may decode, wall time.
constexpr uint32_t kMeasureWaitMs = 1000;

/// How far (100-ns units) one stream may decode ahead of the other. Audio
/// decodes far faster than video; without a bound, its encoded pages would
/// wait in memory for the video of the whole file. Two seconds is well beyond
/// what the encoders' sample queues hold, and costs a few hundred KB of pages.
constexpr int64_t kStreamLead = 20000000;

}  // namespace

keDirectShowReader::keDirectShowReader(keEngineContext* engineContext, const char* path)
    : graph(std::make_unique<FilterGraph>()), context(engineContext), fileName(path ? path : "") {
  Probe();
  videoFilter = std::make_unique<DirectShowVideoSource>(context);
  videoFilter->SetFrameRate(frameRate);
  if (rateMeasured) videoFilter->SetRangeCheck(true);
  audioFilter = std::make_unique<DirectShowAudioSource>(context);
  if (rateMeasured) audioFilter->SetRangeCheck(true);
  // The sources start out with the reader's own range, so that a range check
  // without SetStartTime / SetEndTime keeps the whole file.
  videoFilter->SetStart(start);
  videoFilter->SetEnd(RunEnd());
  audioFilter->SetStart(start);
  audioFilter->SetEnd(RunEnd());
}

void keDirectShowReader::Probe() {
  MediaDetector detector;
  if (Failed(detector.SetFilename(fileName))) {
    failureReason = detector.FailureReason();
    return;
  }
  discontinuous = detector.HasDiscontinuousTimes();
  int32_t streams = 0;
  if (Failed(detector.GetOutputStreams(&streams))) streams = 0;
  for (int32_t stream = 0; stream < streams; ++stream) {
    detector.SetCurrentStream(stream);
    keGuid major = GUID_NULL;
    detector.GetStreamType(&major);
    double length = -1.0;
    if (detector.GetStreamLength(&length) != S_OK) length = -1.0;
    // The first stream of each kind is the one the graph connects.
    if (major == MEDIATYPE_Audio ? hasAudio : hasVideo) continue;
    if (major == MEDIATYPE_Audio) {
      if (firstKind == -1) firstKind = 0;
      hasAudio = true;
      audioLength = length;
    } else {
      if (firstKind == -1) firstKind = 1;
      hasVideo = true;
      videoLength = length;
      double stated = 0.0;
      const HRESULT result = detector.GetFrameRate(&stated);
      const int32_t kind = firstKind;
      const keFrameRateChoice choice = keChooseFrameRate(result, stated, [this, kind] {
        keFrameRateProbe probe(context, fileName.c_str(), kMeasureWaitMs, kind);
        return probe.GetMeasuredFrameRate();
      });
      frameRate = choice.frameRate;
      rateMeasured = choice.rateMeasured;
    }
  }
  declaredEnd = keChooseEndTime(videoLength, audioLength);
  if (!hasVideo) frameRate = kDefaultFrameRate;
  if (!hasAudio && !hasVideo) failureReason = "\"" + fileName + "\" has no audio or video stream";
}

keDirectShowReader::~keDirectShowReader() {
  for (MediaFilter* filter : graph->EnumFilters()) graph->RemoveFilter(filter);
  graph.reset();
  nullRenderer.reset();
  audioFilter.reset();
  videoFilter.reset();
}

keVideoSource* keDirectShowReader::GetVideoSource() { return videoFilter.get(); }

keAudioSource* keDirectShowReader::GetAudioSource() { return audioFilter.get(); }

void keDirectShowReader::SetStartTime(double seconds) {
  // The range is the part of the source actually encoded: nothing before the
  // source's start, so that the declared duration is the true one.
  start = seconds > 0.0 ? seconds : 0.0;
  videoFilter->SetStart(start);
  audioFilter->SetStart(start);
}

void keDirectShowReader::SetEndTime(double seconds) {
  // Not cut to the source's end: an end past the data is told once the run
  // has found where they end.
  if (seconds > 0.0) askedEnd = seconds;
  // Until Start has found where the data end, the sources hear the end as
  // it is known; Start gives them where the run stops.
  videoFilter->SetEnd(GetEndTime());
  audioFilter->SetEnd(GetEndTime());
}

void keDirectShowReader::FindDataEnd() {
  std::lock_guard<std::mutex> lock(scanMutex);
  if (scanned || !(hasAudio || hasVideo)) return;
  scanned = true;
  MediaDetector detector;
  DataEndScan scan;
  if (Failed(detector.SetFilename(fileName)) || Failed(detector.ScanDataEnd(&scan, &stopScan))) return;
  auto seconds = [](int64_t units) { return units < 0 ? -1.0 : static_cast<double>(units) / 1e7; };
  joinShifts = scan.joinShifts;
  dataEnd = keChooseDataEnd(seconds(scan.videoEnd), seconds(scan.audioEnd));
}

double keDirectShowReader::RunEnd() const {
  // The end of the data where it comes first: decoders give whole blocks,
  // and what they pad the last one with beyond it is no part of the source.
  const double dataEnds = dataEnd;
  if (dataEnds >= 0.0 && (askedEnd <= 0.0 || dataEnds < askedEnd)) return dataEnds;
  return askedEnd;
}

double keDirectShowReader::GetEndTime() {
  const double end = RunEnd();
  return end > 0.0 ? end : declaredEnd;
}

void keDirectShowReader::SetBlackSourceFile(const char* path) {
  blackSource = true;
  blackFile = path ? path : "";
}

std::string keDirectShowReader::GetFailureReason() {
  {
    std::lock_guard<std::mutex> lock(stateMutex);
    if (!failureReason.empty()) return failureReason;
  }
  return graph->StreamFailureReason();
}

std::string keDirectShowReader::GetWarningText() {
  const std::string early = EarlyEndWarning();
  const std::string skipped = graph->StreamWarning();
  if (early.empty() || skipped.empty()) return early + skipped;
  return early + "; " + skipped;
}

std::string keDirectShowReader::EarlyEndWarning() {
  const double encoded = EncodedSeconds();
  if (encoded < 0.0) return std::string();
  // Against the end time asked for, or the length the file declares (which
  // clips joined byte for byte make meaningless). Half a second short is no
  // rounding of a codec: the data end there.
  const bool asked = askedEnd > 0.0;
  const double expected = asked ? askedEnd : discontinuous ? -1.0 : declaredEnd;
  const double reached = start + encoded;
  if (expected <= 0.0 || reached >= expected - 0.5) return std::string();
  char text[160];
  std::snprintf(text, sizeof text, "the source ends at %.2f s, before the %.2f s %s: only that much was encoded",
                reached, expected, asked ? "asked" : "it declares");
  return text;
}

void keDirectShowReader::Start() {
  // Where the data end decides where the run stops and what its progress
  // counts against. They are found here, on the thread that runs the encode,
  // not while it is set up: reading a large file through takes a while.
  FindDataEnd();
  std::lock_guard<std::mutex> lock(stateMutex);
  if (aborted || running) return;
  const double runEnd = RunEnd();
  videoFilter->SetEnd(runEnd);
  audioFilter->SetEnd(runEnd);
  const double dataEnds = dataEnd;
  if (start > 0.0 && dataEnds >= 0.0 && start >= dataEnds) {
    // The file declared more than it holds: nothing lies after the start.
    char startText[32];
    std::snprintf(startText, sizeof startText, "%.2f", start);
    if (failureReason.empty()) failureReason = keStartPastEndText(startText, "the end of the source", dataEnds);
    videoFilter->EndOfStream();
    audioFilter->EndOfStream();
    return;
  }
  if (!graphBuilt) PrepareGraph();
  if (graphBuilt) {
    if (Succeeded(graph->Run())) {
      running = true;
    } else {
      // A stream that cannot start would never end: the run stops here,
      // and every listener hears the end of its stream (the graph's
      // failure says why).
      graph->Stop();
      if (videoFilter) videoFilter->EndOfStream();
      if (audioFilter) audioFilter->EndOfStream();
    }
  }
  // A filter that nothing feeds (the file has no such stream, or it cannot
  // be decoded) will never end its stream by itself; its listeners would
  // wait for it for ever, and with them the whole encode.
  EndUnfedStreams();
}

void keDirectShowReader::EndUnfedStreams() {
  if (videoFilter && !videoFilter->IsConnected()) videoFilter->EndOfStream();
  if (audioFilter && !audioFilter->IsConnected()) audioFilter->EndOfStream();
}

void keDirectShowReader::PrepareGraph() {
  if (!videoFilter && !audioFilter) return;
  graphBuilt = true;
  ConnectFilters();
  if (noClock) graph->SetReferenceClock(false);
  graph->SetStreamLead(kStreamLead);
  // Joined clips laid out where the reading of the whole file put them: its
  // end is then where the run ends.
  graph->PresetJoins(fileName, joinShifts);
  // The encoders count frames at this rate: the video must keep to it.
  if (hasVideo) graph->SetVideoFrameRate(frameRate);
  SeekToRange();
}

void keDirectShowReader::ConnectFilters() {
  FfmpegSourceFilter* source = nullptr;
  if (Failed(graph->AddSourceFilter(fileName, "Source", &source))) {
    if (failureReason.empty()) failureReason = graph->LastFailureReason();
    return;
  }
  // A connection adds the target and renders the source's first stream that
  // reaches it; a failure leaves that filter unconnected.
  auto connect = [this](FfmpegSourceFilter* from, BaseRenderer* target, const char* name) {
    graph->AddFilter(target, name);
    return Succeeded(graph->RenderStream(from, target));
  };
  auto connectBlack = [&]() {
    FfmpegSourceFilter* black = nullptr;
    if (Failed(graph->AddSourceFilter(blackFile, "Black Source", &black))) {
      if (failureReason.empty()) failureReason = graph->LastFailureReason();
      return false;
    }
    return connect(black, videoFilter.get(), "Video Source");
  };

  bool videoConnected = false;
  bool audioConnected = false;
  if (firstKind == 1) {
    if (!blackSource) {
      if (videoFilter) videoConnected = connect(source, videoFilter.get(), "Video Source");
    } else {
      nullRenderer = std::make_unique<NullRenderer>();
      connect(source, nullRenderer.get(), "Null Renderer");
      videoConnected = connectBlack();
    }
    if (audioFilter) audioConnected = connect(source, audioFilter.get(), "Audio Source");
  } else if (firstKind == 0) {
    if (audioFilter) audioConnected = connect(source, audioFilter.get(), "Audio Source");
    if (videoFilter) videoConnected = blackSource ? connectBlack() : connect(source, videoFilter.get(), "Video Source");
  }

  if (failureReason.empty() && hasVideo && !videoConnected)
    failureReason = "the video of \"" + fileName + "\" cannot be decoded";
  if (failureReason.empty() && hasAudio && !audioConnected)
    failureReason = "the audio of \"" + fileName + "\" cannot be decoded";
}

void keDirectShowReader::SeekToRange() {
  if (rateMeasured) return;
  const double end = RunEnd();
  graph->SetPositions(static_cast<int64_t>(start * 1e7),
                      end > 0.0 ? static_cast<int64_t>(std::llround(end * 1e7)) : -1);
}

double keDirectShowReader::GetDuration() {
  const double encoded = EncodedSeconds();
  return encoded >= 0.0 ? encoded : GetEndTime() - start;
}

double keDirectShowReader::EncodedSeconds() {
  const int64_t delivered = graph->CompletedEnd();
  if (delivered < 0) return -1.0;
  // Stream times count from the start where the graph seeks to it, from the
  // file's start where the filters keep the range (and drop what precedes
  // it, and the first sample past its end).
  double seconds = static_cast<double>(delivered) / 1e7;
  if (rateMeasured) {
    seconds -= start;
    if (RunEnd() > 0.0) seconds = std::min(seconds, RunEnd() - start);
  }
  return std::max(0.0, std::round(seconds * 1e3) / 1e3);
}

void keDirectShowReader::Abort() {
  stopScan = true;  // a reading of the file through ends at once
  {
    std::lock_guard<std::mutex> lock(stateMutex);
    aborted = true;
    if (graphBuilt && running) {
      graph->Stop();
      running = false;
    }
  }
  if (videoFilter) videoFilter->EndOfStream();
  if (audioFilter) audioFilter->EndOfStream();
}

void keDirectShowReader::Stop() {
  {
    std::lock_guard<std::mutex> lock(stateMutex);
    if (!graphBuilt) return;
  }
  // Returns at once when the graph is not running or is stopped meanwhile.
  graph->WaitForCompletion(kePlatform::kInfinite, nullptr);
  std::lock_guard<std::mutex> lock(stateMutex);
  graph->Stop();
  running = false;
}

double keDirectShowReader::GetCurrentPosition() {
  int64_t position = 0;
  graph->GetCurrentPosition(&position);
  return static_cast<double>(position);
}

int keDirectShowReader::GetProgressPercent() {
  const double span = GetEndTime() - start;
  if (!(span > 0.0)) return 0;
  // The filters' own marks are media times: the end of the last counted
  // frame and the start of the last block the range check dropped.
  const int64_t marked = std::max(videoFilter->GetLastSampleTime(), audioFilter->GetLastSampleTime());
  double reached = static_cast<double>(marked) * 0.0001 * 0.001;
  // What was handed on counts from the range's start when the graph seeks
  // to it, from the file's start when the filters keep the range.
  const int64_t delivered = std::max(videoFilter->GetLastDeliveredEnd(), audioFilter->GetLastDeliveredEnd());
  if (delivered > 0) reached = std::max(reached, static_cast<double>(delivered) * 1e-7 + (rateMeasured ? 0.0 : start));
  const double percent = (reached - start) * 100.0 / span;
  return static_cast<int>(std::min(100.0, std::max(0.0, percent)));
}
