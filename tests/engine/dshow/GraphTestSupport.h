// A graph over one generated file with a video and an audio recorder, for
// the graph tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "dshow/FfmpegSourceFilter.h"
#include "dshow/FilterGraph.h"
#include "RecordingRenderer.h"
#include "TestMedia.h"
#include "platform/keManualResetEvent.h"

/// Generous bound for a run over a few seconds of test media; reaching it
/// means the graph hangs.
constexpr uint32_t kRunLimitMs = 120000;

struct TestGraph {
  explicit TestGraph(RecordingRenderer::Accept videoAccept = RecordingRenderer::Major(MEDIATYPE_Video),
                     RecordingRenderer::Accept audioAccept = RecordingRenderer::StereoPcm(), bool keepData = false)
      : video(std::move(videoAccept), keepData), audio(std::move(audioAccept), keepData) {}

  /// Adds the file as source "Source" and both recorders; connects video
  /// first (true) or audio first. Returns the source's result.
  HRESULT Open(const std::string& name, bool videoFirst = true) {
    const HRESULT opened = graph.AddSourceFilter(TestMedia::Path(name), "Source", &source);
    if (Failed(opened)) return opened;
    graph.AddFilter(&video, "Video");
    graph.AddFilter(&audio, "Audio");
    if (videoFirst) {
      videoConnected = graph.RenderStream(source, &video);
      audioConnected = graph.RenderStream(source, &audio);
    } else {
      audioConnected = graph.RenderStream(source, &audio);
      videoConnected = graph.RenderStream(source, &video);
    }
    return opened;
  }

  /// Runs unclocked to completion and stops.
  void RunToEnd() {
    graph.SetReferenceClock(false);
    ASSERT_EQ(graph.Run(), S_OK);
    int32_t code = 0;
    ASSERT_EQ(graph.WaitForCompletion(kRunLimitMs, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    ASSERT_EQ(graph.Stop(), S_OK);
  }

  // The recorders outlive the graph, which calls them until it is destroyed.
  RecordingRenderer video;
  RecordingRenderer audio;
  FilterGraph graph;
  FfmpegSourceFilter* source = nullptr;
  HRESULT videoConnected = E_FAIL;
  HRESULT audioConnected = E_FAIL;
};
