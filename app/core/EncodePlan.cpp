// The set-up's checks and the plan of numbers they leave.
#include "EncodePlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "AudioFormat.h"
#include "platform/keFileKind.h"
#include "platform/kePath.h"
#include "dshow/keSourceTiming.h"
#include "platform/keUnnamedFile.h"
#include "ogg/keVorbisEncoder.h"

namespace {

constexpr int kLargestWholeNumber = 99999999;  // eight digits: no field needs more
// The highest rate the encoder's stream clock can carry with room to spare,
// far above any rate a player shows.
constexpr double kHighestFrameRate = 1000.0;
constexpr int kHighestKbps = 2000000;

bool AllDigits(const std::string& text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

PlanOrRefusal Refused(std::string why) {
  PlanOrRefusal result;
  result.refusal = std::move(why);
  return result;
}

// The user counts rows from 1, as the grid's labels do.
std::string RowLabel(int row, const StreamProfileRow& cells) {
  std::string label = "Row " + std::to_string(row + 1);
  if (!cells[kColumnName].empty()) label += " " + Quoted(cells[kColumnName]);
  return label;
}

/// One selected row's values, refused with the row and the field named.
CheckOutcome PlanRow(int row, const StreamProfileRow& cells, ProfilePlan* profile) {
  const std::string label = RowLabel(row, cells);
  auto refuse = [&](const std::string& why) { return CheckOutcome::Refuse(label + ": " + why); };
  if (cells[kColumnName].empty())
    return CheckOutcome::Refuse(label + " is ticked for encoding but has no name: name it or untick it.");
  profile->row = row;
  profile->name = cells[kColumnName];
  if (!ParseWholeNumber(cells[kColumnWidth], &profile->width))
    return refuse("the width " + Quoted(cells[kColumnWidth]) + " is not a whole number of pixels.");
  if (!ParseWholeNumber(cells[kColumnHeight], &profile->height))
    return refuse("the height " + Quoted(cells[kColumnHeight]) + " is not a whole number of pixels.");
  if (!ParseDecimal(cells[kColumnFrameRate], &profile->fps) || profile->fps <= 0.0 || profile->fps > kHighestFrameRate)
    return refuse("the frame rate " + Quoted(cells[kColumnFrameRate]) +
                  " is not a number of frames per second above 0 and up to 1000.");
  if (!ParseWholeNumber(cells[kColumnVideoBitrate], &profile->videoKbps) || profile->videoKbps <= 0 ||
      profile->videoKbps > kHighestKbps)
    return refuse("the video bitrate " + Quoted(cells[kColumnVideoBitrate]) +
                  " kbit/s cannot be encoded: it must be a whole number from 1 to 2000000.");
  if (!ParseWholeNumber(cells[kColumnAudioBitrate], &profile->audioKbps) || profile->audioKbps <= 0 ||
      profile->audioKbps > kHighestKbps)
    return refuse("the audio bitrate " + Quoted(cells[kColumnAudioBitrate]) +
                  " kbit/s cannot be encoded: it must be a whole number from 1 to 2000000.");
  // Asked of libvorbis itself: the bitrates it manages depend on the rate
  // and channels, and a refusal found only when the audio starts would come
  // after the decoding had begun.
  const AudioFormat format = AudioFormatForBitrate(profile->audioKbps);
  const int bitrate = profile->audioKbps * 1000;
  std::string refusal;
  if (!keVorbisEncoder::AcceptsSettings(format.channels, format.sampleRate, bitrate, bitrate, bitrate, &refusal))
    return refuse("the audio bitrate " + Quoted(cells[kColumnAudioBitrate]) + " kbit/s cannot be encoded: " + refusal +
                  ".");
  return CheckOutcome::Pass();
}

// The sizes the rows ask for, as the boxes govern them, and the picture the
// encoder makes of them: a size of 0 leaves the source's, and every size is
// raised to a multiple of 16.
void PlanSize(const EncodeFields& fields, int croppedWidth, int croppedHeight, double aspect, ProfilePlan* profile) {
  if (fields.keepSourceDimensions) {
    profile->width = AlignTo16(croppedWidth);
    profile->height = AlignTo16(croppedHeight);
  } else if (fields.keepAspectRatio) {
    profile->height = AlignTo16(static_cast<int>(profile->width / aspect));
  }
  profile->encodedWidth = AlignTo16(profile->width != 0 ? profile->width : fields.sourceWidth);
  profile->encodedHeight = AlignTo16(profile->height != 0 ? profile->height : fields.sourceHeight);
}

}  // namespace

int EncodePlan::WidestEncoded() const {
  int widest = 0;
  for (const ProfilePlan& profile : profiles) widest = std::max(widest, profile.encodedWidth);
  return widest;
}

int EncodePlan::TallestEncoded() const {
  int tallest = 0;
  for (const ProfilePlan& profile : profiles) tallest = std::max(tallest, profile.encodedHeight);
  return tallest;
}

int AlignTo16(int value) { return value % 16 == 0 ? value : value + 16 - value % 16; }

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

PlanOrRefusal PlanEncode(const EncodeFields& fields) {
  bool anySelected = false;
  for (const StreamProfileRow& row : fields.rows) anySelected = anySelected || !row[kColumnEncode].empty();
  if (!anySelected) return Refused("No stream profile is selected: select at least one row to encode.");

  if (fields.inputPath.empty()) return Refused("No source file is given.");
  std::string why;
  if (!kePlatform::CheckSourceFile(fields.inputPath, &why)) return Refused(why);
  if (fields.outputPath.empty()) return Refused("No output file is given.");
  struct stat output {};
  if (stat(fields.outputPath.c_str(), &output) == 0 && S_ISDIR(output.st_mode))
    return Refused("The output file " + Quoted(fields.outputPath) + " is a folder.");
  const std::string outputName = kePlatform::FileNameOf(fields.outputPath);
  // A name that is all extension would make a hidden output and page. The
  // example keeps the extension given, the one the window demands (with the
  // IIS extension in force, ".jpg").
  if (outputName.empty() || outputName.rfind('.') == 0)
    return Refused("The output file name " + Quoted(outputName) +
                   " has no name before its extension: name the file, e.g. mymedia" +
                   (outputName.empty() ? std::string(".osq") : outputName) + ".");
  if (kePlatform::IsSameFile(fields.inputPath, fields.outputPath))
    return Refused("The output file " + Quoted(fields.outputPath) + " is the source file " + Quoted(fields.inputPath) +
                   ": encoding would destroy it. Choose another output file.");

  // What the output path names (through a link, its target) must be a file
  // an encode may replace.
  if (!kePlatform::CheckOutputFile(fields.outputPath, &why)) return Refused(why);

  // The folder checks: the output's folder (the link's target's) and the
  // temporary folder.
  if (!kePlatform::CheckWritableFolder(kePlatform::FolderOf(kePlatform::ResolveOutputPath(fields.outputPath)), "output",
                                       &why))
    return Refused(why);
  if (fields.tempDir.empty()) return Refused("No temporary folder is set.");
  if (!kePlatform::CheckWritableFolder(fields.tempDir, "temporary", &why)) return Refused(why);

  if (fields.sourceWidth <= 0 || fields.sourceHeight <= 0)
    return Refused("The source " + Quoted(fields.inputPath) + " has no picture: a source needs video and audio.");

  EncodePlan plan;
  plan.inputPath = fields.inputPath;
  plan.outputPath = fields.outputPath;
  plan.tempDir = fields.tempDir;
  plan.deinterlace = fields.deinterlace;
  const struct {
    const std::string& text;
    const char* side;
    int* value;
  } crops[] = {{fields.cropTop, "top", &plan.cropTop},
               {fields.cropRight, "right", &plan.cropRight},
               {fields.cropBottom, "bottom", &plan.cropBottom},
               {fields.cropLeft, "left", &plan.cropLeft}};
  for (const auto& crop : crops)
    if (!ParseWholeNumber(crop.text, crop.value))
      return Refused(std::string("The ") + crop.side + " crop " + Quoted(crop.text) +
                     " is not a whole number of pixels.");
  const int croppedWidth = fields.sourceWidth - plan.cropLeft - plan.cropRight;
  const int croppedHeight = fields.sourceHeight - plan.cropBottom - plan.cropTop;
  if (croppedWidth <= 0 || croppedHeight <= 0)
    return Refused("The crops (top " + std::to_string(plan.cropTop) + ", right " + std::to_string(plan.cropRight) +
                   ", bottom " + std::to_string(plan.cropBottom) + ", left " + std::to_string(plan.cropLeft) +
                   ") leave no picture of the " + std::to_string(fields.sourceWidth) + "x" +
                   std::to_string(fields.sourceHeight) + " source.");

  if (!ParseDecimal(fields.startSeconds, &plan.startSeconds))
    return Refused("The start time " + Quoted(fields.startSeconds) + " is not a number of seconds of 0 or more.");
  if (!ParseDecimal(fields.endSeconds, &plan.endSeconds))
    return Refused("The end time " + Quoted(fields.endSeconds) + " is not a number of seconds of 0 or more.");
  if (plan.endSeconds != 0.0 && plan.endSeconds <= plan.startSeconds)
    return Refused("The end time " + Quoted(fields.endSeconds) + " s is not after the start time " +
                   Quoted(fields.startSeconds.empty() ? "0" : fields.startSeconds) + " s: nothing would be encoded.");

  double aspect = static_cast<double>(croppedWidth) / croppedHeight;
  if (aspect < 1.0) aspect = 2.0 - aspect;  // portrait sources are treated as their landscape mirror
  plan.aspectRatio = aspect;

  for (int row = 0; row < kStreamRowCount; ++row) {
    const StreamProfileRow& cells = fields.rows[row];
    if (cells[kColumnEncode].empty()) continue;
    ProfilePlan profile;
    const CheckOutcome checked = PlanRow(row, cells, &profile);
    if (!checked.Passed()) return Refused(checked.refusal);
    PlanSize(fields, croppedWidth, croppedHeight, aspect, &profile);
    plan.profiles.push_back(profile);
  }
  PlanOrRefusal result;
  result.plan = std::move(plan);
  return result;
}

CheckOutcome CheckStartWithinSource(const EncodePlan& plan, double sourceEnd) {
  if (sourceEnd <= 0.0 || plan.startSeconds < sourceEnd) return CheckOutcome::Pass();
  return CheckOutcome::Refuse(keStartPastEndText(Seconds(plan.startSeconds), "the end of the source", sourceEnd));
}
