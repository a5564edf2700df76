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

class keAVSource;
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
  /// A source other than a file reader (generated media in tests), owned
  /// like the reader; used when there is no reader.
  keAVSource* otherSource = nullptr;
  OrvexaOutput* output = nullptr;
  std::vector<KestrinAvEncoder*> encoders;  ///< in row order
  int streamCount = 0;
  double aspectRatio = 1.0;
  int widestOutput = 0;
  int tallestOutput = 0;

  /// The source the encoders listen to: the reader, or the other source.
  keAVSource* Source() const;
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
/// the caller keeps. A reader already in `run` (made to learn the source's
/// length before the set-up) is used instead of a new one.
void StartEncode(keFactory& factory, const EncodeFields& fields, EncodeRun& run);

/// Strict readings of the window's number fields: digits only (and one
/// decimal point for seconds and frame rates); an empty text is 0. False for
/// anything else: a sign, letters, blanks, or a value too large to use.
bool ParseWholeNumber(const std::string& text, int* value);
bool ParseDecimal(const std::string& text, double* value);

/// Checks the fields of an encode before anything is opened or created: a
/// selected row, the source and output paths (the output never the source
/// itself, by whatever path or link), both folders writable, whole-number
/// crops that leave a picture, a time range that is not empty, and profile
/// values the encoders can honour. `sourceEnd` is the source's length in
/// seconds (0 or below when unknown). False with a reason a user can read
/// that names the offending value.
bool CheckEncodeFields(const EncodeFields& fields, double sourceEnd, std::string* reason);

/// The one check that needs the source's length (`sourceEnd` in seconds, 0
/// or less when unknown): the start must lie before the end of the source.
bool CheckStartWithinSource(const EncodeFields& fields, double sourceEnd, std::string* reason);
