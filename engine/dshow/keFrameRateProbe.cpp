#include "keFrameRateProbe.h"

#include <cmath>
#include <limits>

#include "DirectShowVideoSource.h"
#include "FfmpegSourceFilter.h"
#include "FilterGraph.h"
#include "NullRenderer.h"

keFrameRateProbe::keFrameRateProbe(keEngineContext* context, const char* file, uint32_t waitMs, int32_t firstKind)
    : graph(std::make_unique<FilterGraph>()),
      path(file ? file : ""),
      counter(std::make_unique<DirectShowVideoSource>(context)) {
  counter->SetCountOnly(true);
  counter->SetFrameRate(25.0);

  NullRenderer nullRenderer;
  FfmpegSourceFilter* source = nullptr;
  if (Succeeded(graph->AddSourceFilter(path, "Source", &source))) {
    graph->AddFilter(counter.get(), "Video Source");
    graph->AddFilter(&nullRenderer, "Null Renderer");
    // Each connection takes the first stream that can reach its target, so
    // the null renderer takes the stream before or after the video.
    if (firstKind == 1) {
      graph->RenderStream(source, counter.get());
      graph->RenderStream(source, &nullRenderer);
    } else {
      graph->RenderStream(source, &nullRenderer);
      graph->RenderStream(source, counter.get());
    }
    graph->SetReferenceClock(false);
    graph->Run();
    graph->WaitForCompletion(waitMs, nullptr);
    graph->Stop();
    graph->RemoveFilter(&nullRenderer);
  }
  counter->EndOfStream();
  frameRate = keRateFromCount(counter->GetFrameCount(), counter->GetFirstCountedStart(), counter->GetLastSampleTime());
}

keFrameRateProbe::~keFrameRateProbe() {
  for (MediaFilter* filter : graph->EnumFilters()) graph->RemoveFilter(filter);
  graph.reset();
  counter.reset();
}

double keFrameRateProbe::GetMeasuredFrameRate() {
  frameRate = keSnapFrameRate(frameRate);
  return frameRate;
}

double keRateFromCount(double frames, int64_t firstStart, int64_t lastEnd) {
  if (lastEnd - firstStart <= 0) return std::numeric_limits<double>::quiet_NaN();
  return frames * 1e7 / static_cast<double>(lastEnd - firstStart);
}

double keSnapFrameRate(double rate) {
  if (!(rate > 0.0) || !std::isfinite(rate)) return rate;
  const double whole = std::trunc(rate);
  if (whole == rate) return rate;
  return rate - whole < 0.25 ? whole : whole + 0.5;
}
