#include "EncodeRunner.h"

#include <thread>

#include "OrvexaOutput.h"
#include "keAVSource.h"
#include "keFactory.h"
#include "keMediaInfo.h"

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
  keAbstractMediaInfo* probe = factory.CreateMediaInfo(fields.inputPath.c_str());
  const bool good = probe->IsOpened() && probe->HasAudio() && !probe->IsAudioNotRendered() &&
                    probe->IsRenderable() && !probe->IsVideoNotRendered();
  fields.sourceWidth = probe->GetWidth();
  fields.sourceHeight = probe->GetHeight();
  probe->CloseMediaDet();
  delete probe;
  return good && fields.sourceWidth != 0 && fields.sourceHeight != 0;
}

EncodeOutcome RunEncode(const EncodeFields& fields, double timeoutSeconds) {
  EncodeOutcome outcome;
  keFactory factory;
  EncodeRun run;
  StartEncode(factory, fields, run);
  std::thread worker([&run] {
    run.reader->Start();
    run.output->Start();
    run.output->GetFinishedEvent().Wait(keINFINITE);
    run.reader->Stop();
  });
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
