// Runs one encode as the main window does, without the window: the probe's
// source size, then the encode session the window runs (checks, set-up,
// worker, outcome).
#pragma once

#include <string>
#include <vector>

#include "EncodeSetup.h"

struct EncodeOutcome {
  bool refused = false;    ///< the session's checks turned the fields away
  bool finished = false;   ///< the worker was done in time (or refused)
  bool succeeded = false;  ///< and the container is complete and in place
  bool cancelled = false;
  std::string failureText;  ///< the refusal or the engine's reason
  std::vector<std::string> warnings;
  int widestOutput = 0;
  int tallestOutput = 0;
};

/// Fields for `input` with the factory rows, all five selected, writing
/// `output` with temporary files in `tempDir`.
EncodeFields AllFactoryProfiles(const std::string& input, const std::string& output, const std::string& tempDir);

/// Fills in the source size from the probe; false when the probe rejects the
/// file as the window would.
bool ProbeInto(EncodeFields& fields);

/// Checks, set-up and run; cancels after `timeoutSeconds`, so that a hang
/// fails the test instead of blocking it.
EncodeOutcome RunEncode(const EncodeFields& fields, double timeoutSeconds = 300.0);
