// Decodes one profile of a container with FFmpeg and checks what every
// profile must hold: a Theora video and a Vorbis audio stream that decode
// without errors, in the sizes and formats the profile's properties declare.
#pragma once

#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"

/// Records a test failure for each check that does not hold and gives the
/// decoded streams back for the caller's own checks; `video` and `audio` are
/// null when a stream is missing.
struct DecodedProfile {
  OggDecodeResult result;
  const DecodedOggStream* video = nullptr;
  const DecodedOggStream* audio = nullptr;
  bool Complete() const { return video && audio; }
};

DecodedProfile ExpectProfileDecodes(const OrvexaContent& content);
