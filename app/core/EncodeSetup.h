// Builds the engine objects of one encode from its plan: one source reader
// for the input, one Orvexa output for the output file, and one per-profile
// encoder per planned row, each listening to the reader and added to the
// output as a content. Nothing is started here; the encode run starts the
// reader and the output. Nothing is checked here either: the plan holds
// numbers the gate has judged (EncodePlan.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AudioFormat.h"
#include "EncodePlan.h"

class keAVSource;
class keFactory;
class keSourceReader;
class OrvexaOutput;
class KestrinAvEncoder;

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

  /// The source the encoders listen to: the reader, or the other source.
  keAVSource* Source() const;
};

/// Builds the engine objects of `plan` into `run` with `factory`, which the
/// caller keeps. A reader already in `run` (made to learn the source's length
/// before the set-up) is used instead of a new one.
void BuildEncodeEngine(keFactory& factory, const EncodePlan& plan, EncodeRun& run);
