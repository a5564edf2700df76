// The application's entry into the engine: creates the source reader, the
// media probe, the output and the per-profile encoders, all sharing one
// engine context.
#pragma once

#include "keEngineContext.h"

class KestrinAvEncoder;
class OrvexaOutput;
class keAbstractMediaInfo;
class keSourceReader;

class keFactory {
 public:
  keFactory();
  ~keFactory();
  keFactory(const keFactory&) = delete;
  keFactory& operator=(const keFactory&) = delete;

  keSourceReader* CreateSourceReader(const char* inputPath);
  keAbstractMediaInfo* CreateMediaInfo(const char* inputPath);
  /// Remembers the output's name from its last separator on.
  OrvexaOutput* CreateOrvexaOutput(const char* outputPath);
  KestrinAvEncoder* CreateAvEncoder();

  keEngineContext* GetContext() { return &context_; }

 private:
  keEngineContext context_;
};
