#include "EncodeWorker.h"

#include "EncodeSetup.h"
#include "OrvexaOutput.h"
#include "keAVSource.h"

void RunEncodeWorker(EncodeRun& run) {
  if (run.reader) run.reader->Start();
  run.output->Start();
  run.output->GetFinishedEvent().Wait(keINFINITE);
  if (run.reader) run.reader->Stop();
}
