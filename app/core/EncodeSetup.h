// Turns the main window's fields and the selected profile rows into the
// engine objects of one encode: one source reader for the input, one Orvexa
// output for the output file, and one per-profile encoder per selected row,
// each listening to the reader and added to the output as a content.
// Nothing is started here; the encode run starts the reader and the output.
//
// Free of GUI types: the window passes its fields as values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "StreamProfileRows.h"

class keFactory;
class keSourceReader;
class OrvexaOutput;
class KestrinAvEncoder;

/// The window's fields, read once at the start of the set-up.
struct EncodeFields {
  std::string inputPath;
  std::string outputPath;
  std::string startSeconds;  ///< floating-point text; empty gives 0
  std::string endSeconds;
  std::string cropTop;       ///< decimal pixels; empty gives 0
  std::string cropRight;
  std::string cropBottom;
  std::string cropLeft;
  bool deinterlace = false;
  bool keepSourceDimensions = false;  ///< tested before keepAspectRatio
  bool keepAspectRatio = false;
  int sourceWidth = 0;   ///< from the last probe of the input
  int sourceHeight = 0;
  StreamProfileRows rows{};
  std::string tempDir;
};

/// The engine objects of one encode. Destroying it deletes them in an order
/// that is safe whether or not the run was started or finished: the output
/// (and its contents), then the encoders once the reader has been stopped,
/// then the reader.
struct EncodeRun {
  EncodeRun() = default;
  ~EncodeRun();
  EncodeRun(const EncodeRun&) = delete;
  EncodeRun& operator=(const EncodeRun&) = delete;

  keSourceReader* reader = nullptr;
  OrvexaOutput* output = nullptr;
  std::vector<KestrinAvEncoder*> encoders;  ///< in row order
  int streamCount = 0;
  double aspectRatio = 1.0;
  int widestOutput = 0;
  int tallestOutput = 0;
};

/// The sample rate and channel count used for an audio bitrate in kbit/s.
struct AudioFormat {
  int sampleRate;
  int channels;
};
AudioFormat AudioFormatForBitrate(int kbps);

/// Raises `value` to the next multiple of 16 unless it is one already.
int AlignTo16(int value);

/// Builds the engine objects of one encode into `run` with `factory`, which
/// the caller keeps.
void StartEncode(keFactory& factory, const EncodeFields& fields, EncodeRun& run);
