#include "EncodeRunner.h"

#include "EncodeSession.h"
#include "SourceProbe.h"
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
  EncodeSession session;
  const CheckOutcome prepared = session.Prepare(fields);
  if (!prepared.Passed()) {
    outcome.failureText = prepared.refusal;
    outcome.refused = true;
    outcome.finished = true;
    return outcome;
  }
  session.StartWorkerThread();
  outcome.finished = session.WaitWorkerDone(static_cast<uint32_t>(timeoutSeconds * 1000.0));
  if (!outcome.finished) {
    session.Cancel();
    session.WaitWorkerDone(30000);
  }
  const EncodeResult result = session.Result();
  outcome.succeeded = result.status == EncodeResult::kSucceeded;
  outcome.cancelled = result.status == EncodeResult::kCancelled;
  outcome.failureText = result.reason;
  outcome.warnings = result.warnings;
  outcome.widestOutput = session.Plan().WidestEncoded();
  outcome.tallestOutput = session.Plan().TallestEncoded();
  return outcome;
}
