// One encode of generated media into an Orvexa container, wired the way the
// application wires it (one source, one per-profile encoder per profile, each
// listening to the source and added to the output as a content) and run by
// the application's own encode session.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EncodeSession.h"
#include "GeneratedAVSource.h"
#include "KestrinAvEncoder.h"
#include "orvexa/OrvexaOutput.h"

struct GeneratedProfile {
  std::string name;
  int width = 0;  ///< 0: the source's
  int height = 0;
  double fps = 0;  ///< 0: the source's
  int videoKbps = 256;
  int audioKbps = 40;  ///< 0: a profile without an audio encoder
  int sampleRate = 22050;
  int channels = 2;
  bool video = true;
};

class GeneratedEncode {
 public:
  GeneratedEncode(const GeneratedMedia& media, const std::vector<GeneratedProfile>& profiles,
                  const std::string& outputPath, const std::string& tempDir);
  /// The session cancels a run still going and waits for its worker.
  ~GeneratedEncode();

  /// Starts the session's worker: the source, then the output.
  void Start();
  /// Waits for the worker to be done, up to `seconds`; false on time-out.
  bool WaitFinished(double seconds = 120.0);
  /// Start and wait; false when the worker was not done in time.
  bool Run();

  /// Why the session refused the run (an output or temporary folder that
  /// cannot be written); empty when it took it.
  const std::string& Refusal() const { return refusal_; }
  EncodeSession& Session() { return session_; }
  GeneratedAVSource& Source() { return *source_; }
  OrvexaOutput& Output() { return *session_.Run().output; }
  KestrinAvEncoder& Encoder(size_t i) { return *session_.Run().encoders[i]; }

 private:
  EncodeSession session_;
  GeneratedAVSource* source_ = nullptr;  ///< owned by the session's run
  std::string refusal_;
};

/// A content's properties as key to value.
std::map<std::string, std::string> ContentProperties(class keOrvexaPropertyList& list);
