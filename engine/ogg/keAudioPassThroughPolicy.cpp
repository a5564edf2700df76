#include "keAudioPassThroughPolicy.h"

#include "keAudioSample.h"

void keAudioPassThroughPolicy::Process(const keAudioSample* sample) {
  data_ = sample->data;
  dataLength_ = sample->length;
}

const uint8_t* keAudioPassThroughPolicy::GetSilence(int32_t* length) {
  if (length) *length = 0;
  return nullptr;
}

const uint8_t* keAudioPassThroughPolicy::GetData(int32_t* length) {
  if (length) *length = dataLength_;
  return data_;
}
