// The encode worker's part of a run: starts the reader's graph and the
// output, waits until the output has finished, then stops the reader.
#pragma once

struct EncodeRun;

void RunEncodeWorker(EncodeRun& run);
