#include "EncodeSetup.h"

#include <cstdlib>

#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "keAVSource.h"
#include "keAudioSource.h"
#include "keFactory.h"
#include "keTheoraEncoderSettings.h"
#include "keVorbisEncoderSettings.h"
#include "keVideoSource.h"

namespace {

double ToDouble(const std::string& text) { return text.empty() ? 0.0 : std::strtod(text.c_str(), nullptr); }
int ToInt(const std::string& text) { return text.empty() ? 0 : static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

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
  // encoders. Then the reader is stopped, so that no streaming thread still
  // calls into an encoder, and only then do the encoders go.
  delete output;
  if (reader) reader->Abort();
  for (KestrinAvEncoder* encoder : encoders) delete encoder;
  delete reader;
}

AudioFormat AudioFormatForBitrate(int kbps) {
  if (kbps <= 11) return {8000, 1};
  if (kbps <= 22) return {11025, 1};
  if (kbps <= 40) return {22050, 2};
  return {44100, 2};
}

int AlignTo16(int value) { return value % 16 == 0 ? value : value + 16 - value % 16; }

void StartEncode(keFactory& factory, const EncodeFields& fields, EncodeRun& run) {
  run.reader = factory.CreateSourceReader(fields.inputPath.c_str());
  run.output = factory.CreateOrvexaOutput(fields.outputPath.c_str());

  run.widestOutput = 0;
  run.tallestOutput = 0;
  run.output->SetHeaderProperty("vendor", "Harwelco");
  run.output->SetHeaderProperty("encoder-version", "Version 3.0.1");
  run.output->SetHeaderProperty("encoder-build", "Build 305");
  run.output->SetHeaderProperty("encoder-build-date", "24 June 2009");

  const double start = ToDouble(fields.startSeconds);
  const double end = ToDouble(fields.endSeconds);
  const int top = ToInt(fields.cropTop);
  const int right = ToInt(fields.cropRight);
  const int bottom = ToInt(fields.cropBottom);
  const int left = ToInt(fields.cropLeft);

  const int croppedWidth = fields.sourceWidth - left - right;
  const int croppedHeight = fields.sourceHeight - bottom - top;
  // Crops that leave no picture give no ratio to keep; such a run is refused
  // before the set-up, so this only keeps the arithmetic sound.
  double aspect = croppedWidth > 0 && croppedHeight > 0 ? static_cast<double>(croppedWidth) / croppedHeight : 0.0;
  if (aspect == 0.0) aspect = 1.0;
  if (aspect < 1.0) aspect = 2.0 - aspect;  // portrait sources are treated as their landscape mirror
  run.aspectRatio = aspect;

  run.streamCount = 0;
  for (const StreamProfileRow& row : fields.rows) {
    if (row[kColumnEncode].empty()) continue;
    ++run.streamCount;
    int width = ToInt(row[kColumnWidth]);
    int height = ToInt(row[kColumnHeight]);
    const double fps = ToDouble(row[kColumnFrameRate]);
    const int videoKbps = ToInt(row[kColumnVideoBitrate]);
    const int audioKbps = ToInt(row[kColumnAudioBitrate]);

    KestrinAvEncoder* encoder = factory.CreateAvEncoder();
    run.encoders.push_back(encoder);
    encoder->SetName(row[kColumnName].c_str());
    encoder->CreateAudioEncoder();
    encoder->CreateVideoEncoder();

    if (start != 0.0) run.reader->SetStartTime(start);
    if (end != 0.0) run.reader->SetEndTime(end);

    keTheoraEncoderSettings* video = encoder->GetVideoEncoder();
    if (run.reader->HasVideoSource()) {
      keVideoSource* source = run.reader->GetVideoSource();
      if (top) source->SetCropTop(top);
      if (right) source->SetCropRight(right);
      if (bottom) source->SetCropBottom(bottom);
      if (left) source->SetCropLeft(left);
    }

    if (fields.keepSourceDimensions) {
      width = AlignTo16(croppedWidth);
      height = AlignTo16(croppedHeight);
      video->SetWidth(width);
      video->SetHeight(height);
      run.widestOutput = width;
      run.tallestOutput = height;
    } else {
      if (fields.keepAspectRatio) height = AlignTo16(static_cast<int>(width / aspect));
      if (width != 0) video->SetWidth(width);
      if (height != 0) video->SetHeight(height);
      if (width > run.widestOutput) run.widestOutput = width;
      if (height > run.tallestOutput) run.tallestOutput = height;
    }

    video->SetBitrate(videoKbps * 1000);
    if (run.reader->HasVideoSource()) run.reader->GetVideoSource()->SetDeinterlace(fields.deinterlace);
    video->SetFps(fps);

    keVorbisEncoderSettings* audio = encoder->GetAudioEncoder();
    audio->SetMaxBitrate(audioKbps * 1000);
    audio->SetNominalBitrate(audioKbps * 1000);
    audio->SetMinBitrate(audioKbps * 1000);
    const AudioFormat format = AudioFormatForBitrate(audioKbps);
    audio->SetSampleRate(format.sampleRate);
    audio->SetChannels(format.channels);

    if (run.reader) ConnectToReader(encoder, run.reader);
    run.output->AddContent(encoder, fields.tempDir.c_str());
  }
}
