#include "ProfileDecodeCheck.h"

#include <gtest/gtest.h>

#include <string>

DecodedProfile ExpectProfileDecodes(const OrvexaContent& content) {
  DecodedProfile profile;
  profile.result = DecodeOggBytes(content.oggBytes);
  if (!profile.result.probed) {
    ADD_FAILURE() << "FFmpeg cannot read the profile: " << profile.result.errorText;
    return profile;
  }
  EXPECT_FALSE(profile.result.decodeErrors) << profile.result.errorText;
  profile.video = profile.result.Stream("video");
  profile.audio = profile.result.Stream("audio");
  if (!profile.Complete()) {
    ADD_FAILURE() << "the profile lacks its " << (profile.video ? "audio" : "video") << " stream";
    return profile;
  }
  EXPECT_EQ(profile.video->codec, "theora");
  EXPECT_EQ(std::to_string(profile.video->width), content.Property("video-width"));
  EXPECT_EQ(std::to_string(profile.video->height), content.Property("video-height"));
  EXPECT_EQ(profile.audio->codec, "vorbis");
  EXPECT_EQ(std::to_string(profile.audio->sampleRate), content.Property("audio-sample-rate"));
  EXPECT_EQ(std::to_string(profile.audio->channels), content.Property("audio-channels"));
  return profile;
}
