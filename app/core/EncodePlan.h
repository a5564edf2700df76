// The gate of one encode: the window's texts (or the harness's arguments)
// checked once and turned into one plan of numbers, or one refusal that says
// which field or row is wrong. Everything after the gate reads the plan:
// the engine is built from it, the run keeps it, the page is written from
// it. Nothing is opened, created or changed by the gate.
//
// Free of GUI types: the window passes its fields as texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "StreamProfileRows.h"

/// A check's outcome: passed, or refused with a reason a user can read.
struct [[nodiscard]] CheckOutcome {
  std::string refusal;  ///< empty when the check passed

  bool Passed() const { return refusal.empty(); }
  static CheckOutcome Pass() { return {}; }
  static CheckOutcome Refuse(std::string why) { return {std::move(why)}; }
};

/// The window's fields as texts, read once when the Encode command is given.
struct EncodeFields {
  std::string inputPath;
  std::string outputPath;
  std::string startSeconds;  ///< decimal text; empty gives 0
  std::string endSeconds;
  std::string cropTop;  ///< decimal pixels; empty gives 0
  std::string cropRight;
  std::string cropBottom;
  std::string cropLeft;
  bool deinterlace = false;
  bool keepSourceDimensions = false;  ///< tested before keepAspectRatio
  bool keepAspectRatio = false;
  int sourceWidth = 0;  ///< from the last probe of the input
  int sourceHeight = 0;
  StreamProfileRows rows{};
  std::string tempDir;
};

/// One selected row, in numbers.
struct ProfilePlan {
  int row = 0;  ///< 0 to 8, the grid row it came from
  std::string name;
  /// The sizes the encoder is told; 0 leaves the encoder's default (the
  /// source's size).
  int width = 0;
  int height = 0;
  /// The picture the encoder writes: the size told, or the source's, raised
  /// to a multiple of 16 as the encoder does.
  int encodedWidth = 0;
  int encodedHeight = 0;
  double fps = 0.0;
  int videoKbps = 0;
  int audioKbps = 0;
};

/// What the window does with the page after a successful run.
struct PagePlan {
  bool write = false;
  bool toolbar = false;
  bool show = false;
};

/// Everything one run needs, fixed when it starts.
struct EncodePlan {
  std::string inputPath;
  std::string outputPath;
  std::string tempDir;
  double startSeconds = 0.0;  ///< 0: from the source's start
  double endSeconds = 0.0;    ///< 0: to the source's end
  int cropTop = 0;
  int cropRight = 0;
  int cropBottom = 0;
  int cropLeft = 0;
  bool deinterlace = false;
  double aspectRatio = 1.0;           ///< of the cropped source, portrait taken as its mirror
  std::vector<ProfilePlan> profiles;  ///< the selected rows, in row order
  PagePlan page;

  int WidestEncoded() const;
  int TallestEncoded() const;
};

/// The plan, or the reason there is none.
struct [[nodiscard]] PlanOrRefusal {
  EncodePlan plan;  ///< valid when `refusal` is empty
  std::string refusal;

  bool Planned() const { return refusal.empty(); }
};

/// The set-up's checks, in order: a selected row, the paths (the output never
/// the source itself, by whatever path or link, nor a bare extension), the
/// folders, the source's picture, the crops, the time range, and every
/// selected row's values; then the plan of numbers they describe.
PlanOrRefusal PlanEncode(const EncodeFields& fields);

/// The one check that needs the source's length (`sourceEnd` in seconds, 0
/// or less when unknown): the start must lie before the end of the source.
CheckOutcome CheckStartWithinSource(const EncodePlan& plan, double sourceEnd);

/// Strict readings of the number fields: digits only (and one decimal point
/// for seconds and frame rates); an empty text is 0. False for anything
/// else: a sign, letters, blanks, or a value too large to use.
bool ParseWholeNumber(const std::string& text, int* value);
bool ParseDecimal(const std::string& text, double* value);

/// Raises `value` to the next multiple of 16 unless it is one already.
int AlignTo16(int value);
