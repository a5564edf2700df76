#include <gtest/gtest.h>

#include "KestrinAvEncoder.h"
#include "ogg/keTheoraEncoderSettings.h"
#include "ogg/keVorbisEncoderSettings.h"

TEST(KestrinAvEncoder, FreshEncoderAndCreatingEncodersOnce) {
  keEngineContext context;
  KestrinAvEncoder encoder(&context);
  EXPECT_EQ(encoder.GetVideoPolicy(), -1);
  EXPECT_EQ(encoder.GetAudioPolicy(), -1);
  EXPECT_FALSE(encoder.HasAudioEncoder());
  EXPECT_FALSE(encoder.HasVideoEncoder());
  EXPECT_STREQ(encoder.GetContentType(), "kestrin-av");
  EXPECT_EQ(encoder.GetRequiredBitrate(), 0);

  encoder.CreateAudioEncoder();
  keVorbisEncoderSettings* first = encoder.GetAudioEncoder();
  encoder.CreateAudioEncoder("again");
  EXPECT_EQ(encoder.GetAudioEncoder(), first);
  encoder.CreateVideoEncoder();
  EXPECT_EQ(encoder.GetRequiredBitrate(), 300000 + 750000);  // the encoders' defaults
}

TEST(KestrinAvEncoder, ProgressPercentOfTheRange) {
  struct Case {
    int64_t timeMs;
    double start, end;
    int32_t percent;
  };
  const std::vector<Case> cases = {
      {30000, 10, 70, 51},  {0, 10, 70, 1},     {60000, 10, 70, 100},
      {90000, 10, 70, 100}, {-5000, 10, 70, 0}, {1000, 5, 5, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(keProgressPercent(c.timeMs, c.start, c.end), c.percent) << c.timeMs << " in " << c.start << ".." << c.end;
}
