#include "keFactory.h"

#include <string>

#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "kePath.h"
#include "keAlloc.h"

keFactory::keFactory() = default;

keFactory::~keFactory() { keFree(context_.outputFileName); }

OrvexaOutput* keFactory::CreateOrvexaOutput(const char* outputPath) {
  std::string name = kePlatform::FromLastSeparator(outputPath ? outputPath : "");
  if (!name.empty()) {
    keFree(context_.outputFileName);
    context_.outputFileName = keStrDup(name.c_str());
  }
  return new OrvexaOutput(&context_, outputPath);
}

KestrinAvEncoder* keFactory::CreateAvEncoder() { return new KestrinAvEncoder(&context_); }
