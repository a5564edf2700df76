#include "keAbstractOrvexaContent.h"

#include <cmath>
#include <string>

#include "KestrinAvEncoder.h"
#include "ogg/keTheoraEncoderSettings.h"
#include "ogg/keVorbisEncoderSettings.h"

namespace {
std::string Decimal(int64_t value) { return std::to_string(static_cast<int32_t>(value)); }
}  // namespace

void keAbstractOrvexaContent::FillHeaderProperties() {
  if (!encoder_->HasAudioEncoder() && !encoder_->HasVideoEncoder()) return;
  AddProperty("content-id", Decimal(contentId_).c_str());
  AddProperty("content-type", encoder_->GetContentType());
  AddProperty("content-name", encoder_->GetName() ? encoder_->GetName() : "");
  if (encoder_->HasAudioEncoder()) {
    keVorbisEncoderSettings* audio = encoder_->GetAudioEncoder();
    AddProperty("audio-bitrate", Decimal(audio->GetMaxBitrate()).c_str());
    AddProperty("audio-channels", Decimal(audio->GetChannels()).c_str());
    AddProperty("audio-sample-rate", Decimal(audio->GetSampleRate()).c_str());
  }
  if (encoder_->HasVideoEncoder()) {
    keTheoraEncoderSettings* video = encoder_->GetVideoEncoder();
    AddProperty("video-bitrate", Decimal(video->GetBitrate()).c_str());
    AddProperty("video-width", Decimal(video->GetFrameWidth()).c_str());
    AddProperty("video-height", Decimal(video->GetFrameHeight()).c_str());
    AddProperty("video-fps-num", Decimal(static_cast<int64_t>(std::trunc(video->GetFps() * 1000.0))).c_str());
    AddProperty("video-fps-den", "1000");
    const char* description = video->GetDescription();
    AddProperty("video-description", description ? description : "");
  }
  AddProperty("required-bitrate", Decimal(GetRequiredBitrate()).c_str());
  AddProperty("content-duration", Decimal(GetDurationMs()).c_str());
  AddProperty("encryption-mode", "crx");
  AddProperty("encryption-key", keyText_.c_str());
}

int64_t keAbstractOrvexaContent::GetRequiredBitrate() {
  int64_t bitrate = 0;
  if (encoder_->HasAudioEncoder()) bitrate += encoder_->GetAudioEncoder()->GetMaxBitrate();
  if (encoder_->HasVideoEncoder()) bitrate += encoder_->GetVideoEncoder()->GetBitrate();
  return bitrate;
}
