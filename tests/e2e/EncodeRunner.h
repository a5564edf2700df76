// Runs one encode as the main window does, without the window: the probe's
// source size, the encode set-up, then the reader and the output started and
// waited for as the encode worker does.
#pragma once

#include <string>

#include "EncodeSetup.h"

struct EncodeOutcome {
  bool finished = false;   ///< the output signalled finished in time
  bool succeeded = false;  ///< and reported a complete container
  std::string failureText;
  int widestOutput = 0;
  int tallestOutput = 0;
};

/// Fields for `input` with the factory rows, all five selected, writing
/// `output` with temporary files in `tempDir`.
EncodeFields AllFactoryProfiles(const std::string& input, const std::string& output, const std::string& tempDir);

/// Fills in the source size from the probe; false when the probe rejects the
/// file as the window would.
bool ProbeInto(EncodeFields& fields);

/// Set-up and run; gives up waiting after `timeoutSeconds`.
EncodeOutcome RunEncode(const EncodeFields& fields, double timeoutSeconds = 300.0);
