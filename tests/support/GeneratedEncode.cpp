#include "GeneratedEncode.h"

#include "keAudioSource.h"
#include "keOrvexaPropertyList.h"
#include "keTheoraEncoderSettings.h"
#include "keVideoSource.h"
#include "keVorbisEncoderSettings.h"

GeneratedEncode::GeneratedEncode(const GeneratedMedia& media, const std::vector<GeneratedProfile>& profiles,
                                 const std::string& outputPath, const std::string& tempDir)
    : source_(new GeneratedAVSource(factory_.GetContext(), media)) {
  output_ = factory_.CreateOrvexaOutput(outputPath.c_str());
  output_->SetHeaderProperty("vendor", "Harwelco");
  for (const GeneratedProfile& profile : profiles) {
    KestrinAvEncoder* encoder = factory_.CreateAvEncoder();
    encoders_.push_back(encoder);
    encoder->SetName(profile.name.c_str());
    encoder->SetSource(source_.get());
    if (profile.audioKbps > 0) {
      encoder->CreateAudioEncoder();
      keVorbisEncoderSettings* audio = encoder->GetAudioEncoder();
      audio->SetMaxBitrate(profile.audioKbps * 1000);
      audio->SetNominalBitrate(profile.audioKbps * 1000);
      audio->SetMinBitrate(profile.audioKbps * 1000);
      audio->SetSampleRate(profile.sampleRate);
      audio->SetChannels(profile.channels);
      if (source_->HasAudioSource()) {
        source_->GetAudioSource()->AddListener(encoder->GetAudioInput());
        encoder->SetAudioConnected(true);
      }
    }
    if (profile.video) {
      encoder->CreateVideoEncoder();
      keTheoraEncoderSettings* video = encoder->GetVideoEncoder();
      if (profile.width) video->SetWidth(profile.width);
      if (profile.height) video->SetHeight(profile.height);
      video->SetFps(profile.fps);
      video->SetBitrate(profile.videoKbps * 1000);
      if (source_->HasVideoSource()) {
        source_->GetVideoSource()->AddListener(encoder->GetVideoInput());
        encoder->SetVideoConnected(true);
      }
    }
    encoder->ApplyDefaultPolicies();
    output_->AddContent(encoder, tempDir.c_str());
  }
}

GeneratedEncode::~GeneratedEncode() {
  output_->Abort(true);
  delete output_;
  source_->Abort();
  for (KestrinAvEncoder* encoder : encoders_) delete encoder;
}

void GeneratedEncode::Start() {
  output_->Start();
  source_->Start();
}

bool GeneratedEncode::WaitFinished(double seconds) {
  return output_->GetFinishedEvent().Wait(static_cast<uint32_t>(seconds * 1000.0));
}

bool GeneratedEncode::Run() {
  Start();
  const bool finished = WaitFinished();
  source_->Stop();
  return finished;
}

std::map<std::string, std::string> ContentProperties(keOrvexaPropertyList& list) {
  std::map<std::string, std::string> properties;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const std::string& entry = list.GetProperty(i);
    const size_t eq = entry.find('=');
    properties[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
  }
  return properties;
}
