// The decode check over a real Theora and Vorbis file made by ffmpeg: the
// numbers come out as encoded, and damage shows as decoding errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "OggDecodeCheck.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace {

TEST(OggDecodeCheck, ReportsWhatARealFileHolds) {
  TempDir dir;
  const std::string path = dir.File("tiny.ogg");
  std::string error;
  ASSERT_TRUE(WriteTinyTheoraVorbisOgg(path, &error)) << error;

  const OggDecodeResult result = DecodeOggFile(path);
  ASSERT_TRUE(result.probed) << result.errorText;
  EXPECT_FALSE(result.decodeErrors) << result.errorText;
  ASSERT_EQ(result.streams.size(), 2u);
  const DecodedOggStream* video = result.Stream("video");
  const DecodedOggStream* audio = result.Stream("audio");
  ASSERT_NE(video, nullptr);
  ASSERT_NE(audio, nullptr);
  EXPECT_EQ(video->codec, "theora");
  EXPECT_EQ(video->width, 64);
  EXPECT_EQ(video->height, 48);
  EXPECT_EQ(video->frames, 10);
  EXPECT_DOUBLE_EQ(video->frameRate, 10.0);
  EXPECT_NEAR(video->durationSeconds, 1.0, 0.01);
  EXPECT_EQ(video->tags.at("title"), "Ostrel");
  EXPECT_EQ(audio->codec, "vorbis");
  EXPECT_EQ(audio->sampleRate, 44100);
  EXPECT_EQ(audio->channels, 1);
  EXPECT_GT(audio->frames, 0);
  EXPECT_NEAR(audio->durationSeconds, 1.0, 0.05);
  EXPECT_NEAR(result.formatDurationSeconds, 1.0, 0.05);
}

TEST(OggDecodeCheck, DamageAndMissingFilesAreErrors) {
  TempDir dir;
  const std::string path = dir.File("tiny.ogg");
  std::string error;
  ASSERT_TRUE(WriteTinyTheoraVorbisOgg(path, &error)) << error;
  std::vector<uint8_t> bytes = ReadWholeFileBytes(path);
  ASSERT_GT(bytes.size(), 2000u);
  EXPECT_FALSE(DecodeOggBytes(bytes).decodeErrors);

  // Into the last pages' data, past the codec headers.
  std::vector<uint8_t> damaged = bytes;
  for (size_t i = damaged.size() - 1500; i < damaged.size() - 1490; ++i) damaged[i] ^= 0x55;
  EXPECT_TRUE(DecodeOggBytes(damaged).decodeErrors);

  const OggDecodeResult missing = DecodeOggFile(dir.File("none.ogg"));
  EXPECT_FALSE(missing.probed);
  EXPECT_TRUE(missing.decodeErrors);
  EXPECT_FALSE(missing.errorText.empty());
}

}  // namespace
