#include "EncodeRunner.h"

#include <thread>

#include "EncodeWorker.h"
#include "OrvexaOutput.h"
#include "SourceProbe.h"
#include "keAVSource.h"
#include "keFactory.h"

EncodeFields AllFactoryProfiles(const std::string& input, const std::string& output, const std::string& tempDir) {
  EncodeFields fields;
  fields.inputPath = input;
  fields.outputPath = output;
  fields.tempDir = tempDir;
  fields.rows = FactoryStreamProfileRows();
  for (int row = 0; row < 5; ++row) fields.rows[row][kColumnEncode] = "1";
  return fields;
}

bool ProbeInto(EncodeFields& fields) {
  keFactory factory;
  const SourceProbe probe = ProbeSource(factory, fields.inputPath);
  fields.sourceWidth = probe.width;
  fields.sourceHeight = probe.height;
  return probe.Encodable();
}

EncodeOutcome RunEncode(const EncodeFields& fields, double timeoutSeconds) {
  EncodeOutcome outcome;
  keFactory factory;
  EncodeRun run;
  StartEncode(factory, fields, run);
  std::thread worker([&run] { RunEncodeWorker(run); });
  outcome.finished = run.output->GetFinishedEvent().Wait(static_cast<uint32_t>(timeoutSeconds * 1000.0));
  if (!outcome.finished) {
    // As a cancel would: so that the test fails instead of hanging.
    run.reader->Abort();
    run.output->Abort(true);
  }
  worker.join();
  outcome.succeeded = run.output->Succeeded();
  outcome.failureText = run.output->GetFailureText();
  outcome.widestOutput = run.widestOutput;
  outcome.tallestOutput = run.tallestOutput;
  return outcome;
}
