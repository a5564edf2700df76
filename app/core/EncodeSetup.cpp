#include "EncodeSetup.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "keAVSource.h"
#include "keAudioSource.h"
#include "keFactory.h"
#include "keFileKind.h"
#include "keSourceTiming.h"
#include "keUnnamedFile.h"
#include "keVorbisEncoder.h"
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

AudioFormat AudioFormatForBitrate(int kbps) {
  if (kbps <= 11) return {8000, 1};
  if (kbps <= 22) return {11025, 1};
  if (kbps <= 40) return {22050, 2};
  return {44100, 2};
}

int AlignTo16(int value) { return value % 16 == 0 ? value : value + 16 - value % 16; }

void StartEncode(keFactory& factory, const EncodeFields& fields, EncodeRun& run) {
  if (!run.reader) run.reader = factory.CreateSourceReader(fields.inputPath.c_str());
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

namespace {

constexpr int kLargestWholeNumber = 99999999;  // eight digits: no field needs more

bool AllDigits(const std::string& text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool CheckRow(const StreamProfileRow& row, std::string* reason) {
  const std::string profile = "Profile " + Quoted(row[kColumnName]) + ": ";
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = profile + why;
    return false;
  };
  int width = 0, height = 0, videoKbps = 0, audioKbps = 0;
  double fps = 0.0;
  if (!ParseWholeNumber(row[kColumnWidth], &width))
    return refuse("the width " + Quoted(row[kColumnWidth]) + " is not a whole number of pixels.");
  if (!ParseWholeNumber(row[kColumnHeight], &height))
    return refuse("the height " + Quoted(row[kColumnHeight]) + " is not a whole number of pixels.");
  if (!ParseDecimal(row[kColumnFrameRate], &fps))
    return refuse("the frame rate " + Quoted(row[kColumnFrameRate]) + " is not a number of frames per second.");
  if (!ParseWholeNumber(row[kColumnVideoBitrate], &videoKbps) || videoKbps <= 0 || videoKbps > 2000000)
    return refuse("the video bitrate " + Quoted(row[kColumnVideoBitrate]) +
                  " kbit/s cannot be encoded: it must be a whole number from 1 to 2000000.");
  if (!ParseWholeNumber(row[kColumnAudioBitrate], &audioKbps) || audioKbps <= 0 || audioKbps > 2000000)
    return refuse("the audio bitrate " + Quoted(row[kColumnAudioBitrate]) +
                  " kbit/s cannot be encoded: it must be a whole number from 1 to 2000000.");
  // Asked of libvorbis itself: the bitrates it manages depend on the rate
  // and channels, and a refusal found only when the audio starts would come
  // after the decoding had begun.
  const AudioFormat format = AudioFormatForBitrate(audioKbps);
  std::string refusal;
  if (!keVorbisEncoder::AcceptsSettings(format.channels, format.sampleRate, audioKbps * 1000, audioKbps * 1000,
                                        audioKbps * 1000, &refusal))
    return refuse("the audio bitrate " + Quoted(row[kColumnAudioBitrate]) + " kbit/s cannot be encoded: " +
                  refusal + ".");
  return true;
}

}  // namespace

bool ParseWholeNumber(const std::string& text, int* value) {
  if (text.empty()) {
    *value = 0;
    return true;
  }
  if (!AllDigits(text) || text.size() > 8) return false;
  const long parsed = std::strtol(text.c_str(), nullptr, 10);
  if (parsed > kLargestWholeNumber) return false;
  *value = static_cast<int>(parsed);
  return true;
}

bool ParseDecimal(const std::string& text, double* value) {
  if (text.empty()) {
    *value = 0.0;
    return true;
  }
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
  if (!AllDigits(whole) || !AllDigits(fraction) || (whole.empty() && fraction.empty()) || whole.size() > 9)
    return false;
  *value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(*value);
}

bool CheckEncodeFields(const EncodeFields& fields, double sourceEnd, std::string* reason) {
  auto refuse = [&](const std::string& why) {
    if (reason) *reason = why;
    return false;
  };

  bool anySelected = false;
  for (const StreamProfileRow& row : fields.rows) anySelected = anySelected || !row[kColumnEncode].empty();
  if (!anySelected) return refuse("No stream profile is selected: select at least one row to encode.");

  if (fields.inputPath.empty()) return refuse("No source file is given.");
  if (!kePlatform::CheckSourceFile(fields.inputPath, reason)) return false;
  if (fields.outputPath.empty()) return refuse("No output file is given.");
  struct stat output {};
  if (stat(fields.outputPath.c_str(), &output) == 0 && S_ISDIR(output.st_mode))
    return refuse("The output file " + Quoted(fields.outputPath) + " is a folder.");
  if (kePlatform::IsSameFile(fields.inputPath, fields.outputPath))
    return refuse("The output file " + Quoted(fields.outputPath) + " is the source file " +
                  Quoted(fields.inputPath) + ": encoding would destroy it. Choose another output file.");
  if (!kePlatform::CheckOutputFile(fields.outputPath, reason)) return false;
  if (!kePlatform::CheckWritableFolder(kePlatform::FolderOf(kePlatform::ResolveOutputPath(fields.outputPath)),
                                       "output", reason))
    return false;
  if (fields.tempDir.empty()) return refuse("No temporary folder is set.");
  if (!kePlatform::CheckWritableFolder(fields.tempDir, "temporary", reason)) return false;

  if (fields.sourceWidth <= 0 || fields.sourceHeight <= 0)
    return refuse("The source " + Quoted(fields.inputPath) + " has no picture: a source needs video and audio.");
  int crops[4] = {};
  const std::string* cropTexts[4] = {&fields.cropTop, &fields.cropRight, &fields.cropBottom, &fields.cropLeft};
  const char* cropNames[4] = {"top", "right", "bottom", "left"};
  for (int i = 0; i < 4; ++i)
    if (!ParseWholeNumber(*cropTexts[i], &crops[i]))
      return refuse(std::string("The ") + cropNames[i] + " crop " + Quoted(*cropTexts[i]) +
                    " is not a whole number of pixels.");
  if (fields.sourceWidth - crops[1] - crops[3] <= 0 || fields.sourceHeight - crops[0] - crops[2] <= 0)
    return refuse("The crops (top " + std::to_string(crops[0]) + ", right " + std::to_string(crops[1]) +
                  ", bottom " + std::to_string(crops[2]) + ", left " + std::to_string(crops[3]) +
                  ") leave no picture of the " + std::to_string(fields.sourceWidth) + "x" +
                  std::to_string(fields.sourceHeight) + " source.");

  double start = 0.0, end = 0.0;
  if (!ParseDecimal(fields.startSeconds, &start))
    return refuse("The start time " + Quoted(fields.startSeconds) + " is not a number of seconds of 0 or more.");
  if (!ParseDecimal(fields.endSeconds, &end))
    return refuse("The end time " + Quoted(fields.endSeconds) + " is not a number of seconds of 0 or more.");
  if (end != 0.0 && end <= start)
    return refuse("The end time " + Quoted(fields.endSeconds) + " s is not after the start time " +
                  Quoted(fields.startSeconds.empty() ? "0" : fields.startSeconds) + " s: nothing would be encoded.");
  if (!CheckStartWithinSource(fields, sourceEnd, reason)) return false;

  for (const StreamProfileRow& row : fields.rows)
    if (!row[kColumnEncode].empty() && !CheckRow(row, reason)) return false;
  return true;
}

bool CheckStartWithinSource(const EncodeFields& fields, double sourceEnd, std::string* reason) {
  double start = 0.0;
  if (sourceEnd <= 0.0 || !ParseDecimal(fields.startSeconds, &start) || start < sourceEnd) return true;
  if (reason) *reason = keStartPastEndText(fields.startSeconds, "the end of the source", sourceEnd);
  return false;
}
