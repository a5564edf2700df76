// Graph plumbing shared by the engine's graph-decoding sources: building the
// graph, and the two renderer filters' sources.
#pragma once

#include "keLog.h"

class keAudioSource;
class keVideoSource;

class keAbstractDirectShowAVSource {
 public:
  keAbstractDirectShowAVSource();
  virtual ~keAbstractDirectShowAVSource();
  keAbstractDirectShowAVSource(const keAbstractDirectShowAVSource&) = delete;
  keAbstractDirectShowAVSource& operator=(const keAbstractDirectShowAVSource&) = delete;

  /// Builds and connects the graph, ready to run.
  virtual void PrepareGraph() = 0;
  virtual keVideoSource* GetVideoSource() = 0;
  virtual bool HasVideoSource() = 0;
  virtual keAudioSource* GetAudioSource() = 0;
  virtual bool HasAudioSource() = 0;

 protected:
  keLog* log;
};
