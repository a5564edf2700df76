#include "keAudioSilenceFillPolicy.h"

#include <algorithm>

#include "keAudioSample.h"

keAudioSilenceFillPolicy::keAudioSilenceFillPolicy() : silence_(kSilenceBytes, 0) {}

void keAudioSilenceFillPolicy::Reset() {
  sampleEndMs_ = 0;
  producedMs_ = 0;
  lagging_ = false;
}

void keAudioSilenceFillPolicy::Process(const keAudioSample* sample) {
  data_ = sample->data;
  dataLength_ = sample->length;
  silenceLength_ = 0;
  const int64_t bytesPerSecond = static_cast<int64_t>(channels_) * sampleRate_ * 2;
  if (bytesPerSecond <= 0) return;  // no format told: nothing to measure against
  producedMs_ += static_cast<int64_t>(dataLength_) * 1000 / bytesPerSecond;
  sampleEndMs_ = sample->end / 10000;

  if (!lagging_ && producedMs_ + 200 <= sampleEndMs_) lagging_ = true;
  if (!lagging_) return;

  int64_t silence = (sampleEndMs_ - producedMs_) * bytesPerSecond / 1000;
  // A block whose end lies before the audio already produced asks for no
  // silence; a negative length would reach the encoder as a huge count.
  silence = std::clamp<int64_t>(silence, 0, kSilenceBytes);
  silenceLength_ = static_cast<int32_t>(silence);
  producedMs_ += silence * 1000 / bytesPerSecond;
  if (producedMs_ + 20 > sampleEndMs_) lagging_ = false;
}

const uint8_t* keAudioSilenceFillPolicy::GetSilence(int32_t* length) {
  if (length) *length = silenceLength_;
  return silence_.data();
}

const uint8_t* keAudioSilenceFillPolicy::GetData(int32_t* length) {
  if (length) *length = dataLength_;
  return data_;
}
