// The small record the engine factory hands every engine object it creates.
#pragma once

struct keEngineContext {
  /// 0 (always, in this system): samples are copied and the encoders run
  /// their own threads. 1 also runs threads; other values encode inline.
  int mode = 0;
  /// The output file's name from its last separator on; null until an output
  /// has been created. keAlloc'd, owned by the factory.
  char* outputFileName = nullptr;
};
