// One encode of generated media into an Orvexa container, wired the way the
// application wires it: one source, one per-profile encoder per profile, each
// listening to the source and added to the output as a content.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GeneratedAVSource.h"
#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "keFactory.h"

struct GeneratedProfile {
  std::string name;
  int width = 0;   ///< 0: the source's
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
  /// Stops everything still running, in the order the application does.
  ~GeneratedEncode();

  /// Starts the output, then the source, as the encode worker does.
  void Start();
  /// Waits for the output to finish, up to `seconds`; false on time-out.
  bool WaitFinished(double seconds = 120.0);
  /// Start, wait, then stop the source; false when the output did not finish.
  bool Run();

  GeneratedAVSource& Source() { return *source_; }
  OrvexaOutput& Output() { return *output_; }
  KestrinAvEncoder& Encoder(size_t i) { return *encoders_[i]; }

 private:
  keFactory factory_;
  std::unique_ptr<GeneratedAVSource> source_;
  std::vector<KestrinAvEncoder*> encoders_;
  OrvexaOutput* output_ = nullptr;
};

/// A content's properties as key to value.
std::map<std::string, std::string> ContentProperties(class keOrvexaPropertyList& list);
