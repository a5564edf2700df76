#include "EncodeSetup.h"

#include "KestrinAvEncoder.h"
#include "orvexa/OrvexaOutput.h"
#include "ProductVersion.h"
#include "keAVSource.h"
#include "keAudioSource.h"
#include "keFactory.h"
#include "ogg/keTheoraEncoderSettings.h"
#include "ogg/keVorbisEncoderSettings.h"
#include "keVideoSource.h"

namespace {

void ConnectToReader(KestrinAvEncoder* encoder, keSourceReader* reader) {
  if (encoder->GetSource() == nullptr) encoder->SetSource(reader);
  if (encoder->GetSource() != reader) return;  // fed by another source: left as it is
  if (!encoder->IsAudioConnected() && reader->HasAudioSource() && encoder->GetAudioInput()) {
    reader->GetAudioSource()->AddListener(encoder->GetAudioInput());
    encoder->SetAudioConnected(true);
  }
  if (!encoder->IsVideoConnected() && reader->HasVideoSource() && encoder->GetVideoInput()) {
    reader->GetVideoSource()->AddListener(encoder->GetVideoInput());
    encoder->SetVideoConnected(true);
  }
  encoder->ApplyDefaultPolicies();
}

}  // namespace

EncodeRun::~EncodeRun() {
  // The output first: its thread (joined here) is the one waiting on the
  // encoders. Then the source is stopped, so that no streaming thread still
  // calls into an encoder, and only then do the encoders go.
  delete output;
  if (keAVSource* source = Source()) source->Abort();
  for (KestrinAvEncoder* encoder : encoders) delete encoder;
  delete reader;
  delete otherSource;
}

keAVSource* EncodeRun::Source() const {
  if (reader) return reader;
  return otherSource;
}

void BuildEncodeEngine(keFactory& factory, const EncodePlan& plan, EncodeRun& run) {
  if (!run.reader) run.reader = factory.CreateSourceReader(plan.inputPath.c_str());
  run.output = factory.CreateOrvexaOutput(plan.outputPath.c_str());
  run.output->SetHeaderProperty("vendor", kVendorName);
  run.output->SetHeaderProperty("encoder-version", kProductVersion);
  run.output->SetHeaderProperty("encoder-build", kProductBuild);
  run.output->SetHeaderProperty("encoder-build-date", kProductBuildDate);

  if (plan.startSeconds != 0.0) run.reader->SetStartTime(plan.startSeconds);
  if (plan.endSeconds != 0.0) run.reader->SetEndTime(plan.endSeconds);
  if (run.reader->HasVideoSource()) {
    keVideoSource* source = run.reader->GetVideoSource();
    if (plan.cropTop) source->SetCropTop(plan.cropTop);
    if (plan.cropRight) source->SetCropRight(plan.cropRight);
    if (plan.cropBottom) source->SetCropBottom(plan.cropBottom);
    if (plan.cropLeft) source->SetCropLeft(plan.cropLeft);
    source->SetDeinterlace(plan.deinterlace);
  }

  run.streamCount = 0;
  for (const ProfilePlan& profile : plan.profiles) {
    ++run.streamCount;
    KestrinAvEncoder* encoder = factory.CreateAvEncoder();
    run.encoders.push_back(encoder);
    encoder->SetName(profile.name.c_str());
    encoder->CreateAudioEncoder();
    encoder->CreateVideoEncoder();

    // A size of 0 is not told: the encoder keeps the source's.
    keTheoraEncoderSettings* video = encoder->GetVideoEncoder();
    if (profile.width != 0) video->SetWidth(profile.width);
    if (profile.height != 0) video->SetHeight(profile.height);
    video->SetBitrate(profile.videoKbps * 1000);
    video->SetFps(profile.fps);

    keVorbisEncoderSettings* audio = encoder->GetAudioEncoder();
    audio->SetMaxBitrate(profile.audioKbps * 1000);
    audio->SetNominalBitrate(profile.audioKbps * 1000);
    audio->SetMinBitrate(profile.audioKbps * 1000);
    const AudioFormat format = AudioFormatForBitrate(profile.audioKbps);
    audio->SetSampleRate(format.sampleRate);
    audio->SetChannels(format.channels);

    ConnectToReader(encoder, run.reader);
    run.output->AddContent(encoder, plan.tempDir.c_str());
  }
}
