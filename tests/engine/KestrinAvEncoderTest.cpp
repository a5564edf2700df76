#include <gtest/gtest.h>

#include <algorithm>

#include "GeneratedEncode.h"
#include "KestrinAvEncoder.h"
#include "PollUntil.h"
#include "TempDir.h"
#include "ogg/keStreamManager.h"
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

// A source whose data outlast the length it declares (a file cut off before
// its index states a guess): the window stops polling at 100, so the
// percentage waits at 99 past the declared end until the encode has ended,
// and it never goes back.
TEST(KestrinAvEncoder, ProgressSaysHundredOnlyAtTheEndAndNeverGoesBack) {
  GeneratedMedia media;
  media.seconds = 6.0;
  media.declaredSeconds = 1.0;
  const GeneratedProfile profile{"A", 96, 80, 25, 128, 40};
  {
    SCOPED_TRACE("still decoding past the declared end");
    TempDir dir;
    GeneratedMedia stalled = media;
    stalled.stallAfterFrames = 125;  // 5 s in, and the rest still to come
    GeneratedEncode encode(stalled, {profile}, dir.File("out.orx"), dir.Path());
    encode.Start();
    KestrinAvEncoder& encoder = encode.Encoder(0);
    ASSERT_TRUE(PollUntil([&] { return encoder.GetStreamManager()->GetCurrentTime() >= 2000; }, 60.0))
        << encoder.GetStreamManager()->GetCurrentTime() << " ms";
    EXPECT_EQ(encoder.GetProgressPercent(), 99);
    encode.Session().Cancel();
    ASSERT_TRUE(encode.WaitFinished(30.0));
  }
  {
    SCOPED_TRACE("to the end");
    TempDir dir;
    GeneratedEncode encode(media, {profile}, dir.File("out.orx"), dir.Path());
    encode.Start();
    KestrinAvEncoder& encoder = encode.Encoder(0);
    int32_t highest = 0;
    bool wentBack = false;
    const bool ended = PollUntil(
        [&] {
          const int32_t percent = encoder.GetProgressPercent();
          wentBack = wentBack || percent < highest;
          highest = std::max(highest, percent);
          return encoder.GetStreamManager()->IsFinished();
        },
        60.0);
    ASSERT_TRUE(ended);
    EXPECT_FALSE(wentBack);
    EXPECT_EQ(encoder.GetProgressPercent(), 100);
    ASSERT_TRUE(encode.WaitFinished(30.0));
  }
}
