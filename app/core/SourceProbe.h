// The probe of a source as the main window makes it before an encode: what
// the file holds, and whether it can be encoded at all.
#pragma once

#include <string>

class keFactory;

struct SourceProbe {
  /// Opened, with an audio stream, and the whole file renders.
  bool good = false;
  int width = 0;
  int height = 0;
  double frameRate = 0.0;
  int channels = 0;
  int sampleRate = 0;
  double duration = 0.0;

  /// Good, with a picture to encode.
  bool Encodable() const { return good && width != 0 && height != 0; }
  /// Why the source cannot be encoded, as a user can read it ("has no
  /// picture: a source needs video and audio"); empty when it can.
  std::string problem;
  /// The file could not be read as media at all, for the reason the problem
  /// gives in the system's or the demuxer's words: no codec is missing.
  bool unreadable = false;
};

SourceProbe ProbeSource(keFactory& factory, const std::string& path);

/// The message the main window shows for a source it will not encode.
std::string UnencodableSourceMessage();
