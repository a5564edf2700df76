#include "GeneratedEncode.h"

#include "keAudioSource.h"
#include "ProductVersion.h"
#include "keFactory.h"
#include "orvexa/keOrvexaPropertyList.h"
#include "ogg/keTheoraEncoderSettings.h"
#include "keVideoSource.h"
#include "ogg/keVorbisEncoderSettings.h"

GeneratedEncode::GeneratedEncode(const GeneratedMedia& media, const std::vector<GeneratedProfile>& profiles,
                                 const std::string& outputPath, const std::string& tempDir) {
  keFactory& factory = session_.Factory();
  auto run = std::make_unique<EncodeRun>();
  source_ = new GeneratedAVSource(factory.GetContext(), media);
  run->otherSource = source_;
  run->output = factory.CreateOrvexaOutput(outputPath.c_str());
  run->output->SetHeaderProperty("vendor", kVendorName);
  for (const GeneratedProfile& profile : profiles) {
    KestrinAvEncoder* encoder = factory.CreateAvEncoder();
    run->encoders.push_back(encoder);
    ++run->streamCount;
    encoder->SetName(profile.name.c_str());
    encoder->SetSource(source_);
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
    run->output->AddContent(encoder, tempDir.c_str());
  }
  const CheckOutcome prepared = session_.PrepareRun(std::move(run), tempDir);
  refusal_ = prepared.refusal;
}

GeneratedEncode::~GeneratedEncode() = default;

void GeneratedEncode::Start() { session_.StartWorkerThread(); }

bool GeneratedEncode::WaitFinished(double seconds) {
  return session_.WaitWorkerDone(static_cast<uint32_t>(seconds * 1000.0));
}

bool GeneratedEncode::Run() {
  Start();
  return WaitFinished();
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
