#include "keFactory.h"

#include <new>
#include <string>

#include "KestrinAvEncoder.h"
#include "orvexa/OrvexaOutput.h"
#include "platform/keMemoryRoom.h"
#include "platform/kePath.h"
#include "keAlloc.h"
#include "dshow/keDirectShowReader.h"
#include "dshow/keMediaInfo.h"

keFactory::keFactory() {
  // Before the first decoder thread allocates: see keMemoryRoom.h.
  kePlatform::FitAllocatorToAddressLimit();
  kePlatform::KeepMemoryRoom();
}

keFactory::~keFactory() { keFree(context_.outputFileName); }

OrvexaOutput* keFactory::CreateOrvexaOutput(const char* outputPath) {
  std::string name = kePlatform::FromLastSeparator(outputPath ? outputPath : "");
  if (!name.empty()) {
    keFree(context_.outputFileName);
    context_.outputFileName = keStrDup(name.c_str());
    if (!context_.outputFileName) throw std::bad_alloc();  // as the new below would
  }
  return new OrvexaOutput(&context_, outputPath);
}

KestrinAvEncoder* keFactory::CreateAvEncoder() { return new KestrinAvEncoder(&context_); }

keSourceReader* keFactory::CreateSourceReader(const char* inputPath) {
  return new keDirectShowReader(&context_, inputPath);
}

keAbstractMediaInfo* keFactory::CreateMediaInfo(const char* inputPath) { return new keMediaInfo(&context_, inputPath); }
