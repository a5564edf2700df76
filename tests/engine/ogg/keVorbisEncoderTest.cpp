// Vorbis encoder: generated PCM through the audio hub, pages decoded back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EncodedOggStream.h"
#include "EncoderFeeds.h"
#include "OggDecoders.h"
#include "ogg/keAudioSilenceFillPolicy.h"
#include "ogg/keVorbisEncoder.h"

namespace {

struct EncodeCase {
  std::string name;
  int32_t sourceChannels, sourceRate;
  int32_t setChannels, setRate;
  int32_t maxBitrate, nominalBitrate, minBitrate;
  bool silenceFill;
  int contextMode;
  int gapAfter;
  int64_t gapMs;
  bool markLast;
  int32_t channels, rate;
  double seconds;
  std::string bitrateTag;
};

TEST(VorbisEncoder, EncodesTheSourceIntoAStreamDecodersAccept) {
  const std::vector<EncodeCase> cases = {
      {"source format kept", 2, 44100, 0, 0, 300000, 200000, 100000, false, 0, -1, 0, true, 2, 44100, 1.0,
       "Audio bitrate=195 Kb/s"},
      {"resampled to 22050 Hz mono", 2, 44100, 1, 22050, 64000, 48000, 32000, false, 0, -1, 0, true, 1, 22050, 1.0,
       "Audio bitrate=46 Kb/s"},
      {"a profile row of 32 kbit/s at 22050 Hz stereo", 2, 44100, 2, 22050, 32000, 32000, 32000, false, 0, -1, 0, true,
       2, 22050, 1.0, "Audio bitrate=31 Kb/s"},
      {"mono source made stereo", 1, 22050, 2, 44100, 300000, 200000, 100000, false, 0, -1, 0, true, 2, 44100, 1.0,
       "Audio bitrate=195 Kb/s"},
      {"silence fills a one second gap", 2, 44100, 0, 0, 300000, 200000, 100000, true, 0, 4, 1000, true, 2, 44100, 2.0,
       "Audio bitrate=195 Kb/s"},
      {"pass-through policy ignores the gap", 2, 44100, 0, 0, 300000, 200000, 100000, false, 0, 4, 1000, true, 2, 44100,
       1.0, "Audio bitrate=195 Kb/s"},
      {"encoding inline on the streaming thread", 2, 44100, 0, 0, 300000, 200000, 100000, false, 2, -1, 0, true, 2,
       44100, 1.0, "Audio bitrate=195 Kb/s"},
      {"end of stream without a block flagged last", 2, 44100, 0, 0, 300000, 200000, 100000, false, 0, -1, 0, false, 2,
       44100, 1.0, "Audio bitrate=195 Kb/s"},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    context.mode = c.contextMode;
    keVorbisEncoder encoder(&context, " test");
    encoder.SetChannels(c.setChannels);
    encoder.SetSampleRate(c.setRate);
    encoder.SetMaxBitrate(c.maxBitrate);
    encoder.SetNominalBitrate(c.nominalBitrate);
    encoder.SetMinBitrate(c.minBitrate);
    if (c.silenceFill) encoder.SetAudioPolicy(new keAudioSilenceFillPolicy);
    AudioFeed feed(&context, c.sourceChannels, c.sourceRate);
    feed.hub.AddListener(&encoder);
    feed.Begin();
    feed.Play(10, c.gapAfter, c.gapMs, c.markLast);
    feed.End();
    EXPECT_TRUE(encoder.GetEncodingFinishedEvent().Wait(0)) << c.name;

    EXPECT_FALSE(encoder.HasFailed()) << c.name << ": " << encoder.GetFailureReason();
    EXPECT_EQ(encoder.GetRateNumerator(), 1000) << c.name;
    EXPECT_EQ(encoder.GetRateDenominator(), c.rate) << c.name;
    EncodedOggStream stream = DrainStream(encoder);
    ExpectStreamEndsOnce(stream, c.name);
    EXPECT_GE(stream.headerPages, 1) << c.name;
    DecodedVorbis decoded = DecodeVorbis(stream);
    ASSERT_TRUE(decoded.headersAccepted) << c.name;
    EXPECT_EQ(decoded.channels, c.channels) << c.name;
    EXPECT_EQ(decoded.rate, c.rate) << c.name;
    EXPECT_FALSE(decoded.vendor.empty()) << c.name;
    const std::vector<std::string> tags = {"Channels=" + std::to_string(c.channels),
                                           "Sample Rate=" + std::to_string(c.rate) + " Hz", c.bitrateTag};
    EXPECT_EQ(decoded.comments, tags) << c.name;
    EXPECT_NEAR(static_cast<double>(decoded.samples), c.seconds * c.rate, 0.01 * c.rate) << c.name;
    std::string skipped;
    EXPECT_EQ(FfmpegComplaints(stream.bytes, &skipped), "") << c.name;
  }
}

struct RefusedCase {
  std::string name;
  int32_t channels, rate;
  int32_t maxBitrate, nominalBitrate, minBitrate;
};

TEST(VorbisEncoder, RefusedSettingsFailTheStreamButStillEndIt) {
  const std::vector<RefusedCase> cases = {
      {"8 kbit/s maximum at 44100 Hz stereo", 2, 44100, 8000, -1, -1},
      {"the default bitrates at 22050 Hz mono", 1, 22050, 300000, 200000, 100000},
      // Rows of the profile audio table that libvorbis has no mode for.
      {"5 kbit/s at 8000 Hz mono", 1, 8000, 5000, 5000, 5000},
      {"25 kbit/s at 22050 Hz stereo", 2, 22050, 25000, 25000, 25000},
      {"42 kbit/s at 44100 Hz stereo", 2, 44100, 42000, 42000, 42000},
      {"600 kbit/s at 44100 Hz stereo", 2, 44100, 600000, 600000, 600000},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keVorbisEncoder encoder(&context, nullptr);
    encoder.SetMaxBitrate(c.maxBitrate);
    encoder.SetNominalBitrate(c.nominalBitrate);
    encoder.SetMinBitrate(c.minBitrate);
    AudioFeed feed(&context, c.channels, c.rate);
    feed.hub.AddListener(&encoder);
    feed.Begin();
    feed.Play(15);  // more blocks than the queue holds: every one must come back
    feed.End();
    EXPECT_EQ(feed.handed, 16) << c.name;
    EXPECT_TRUE(encoder.HasFailed()) << c.name;
    EXPECT_NE(encoder.GetFailureReason().find("Vorbis encoder refused"), std::string::npos)
        << c.name << ": " << encoder.GetFailureReason();
    EncodedOggStream stream = DrainStream(encoder);
    EXPECT_EQ(stream.headerPages, 0) << c.name;
    EXPECT_EQ(stream.dataPages, 1) << c.name;
    ExpectStreamEndsOnce(stream, c.name);
  }
}

TEST(VorbisEncoder, AStreamThatNeverStartedEndsAtOnce) {
  struct Case {
    std::string name;
    bool format;
    int blocksBeforeStart;
  };
  const std::vector<Case> cases = {
      {"no notice at all", false, 0},
      {"format only", true, 0},
      {"blocks before the start are given back", true, 3},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keVorbisEncoder encoder(&context, nullptr);
    AudioFeed feed(&context, 2, 44100);
    feed.hub.AddListener(&encoder);
    if (c.format) feed.hub.NotifyFormat(2, 44100);
    feed.Play(c.blocksBeforeStart, -1, 0, false);
    feed.End();
    EXPECT_TRUE(encoder.GetSetupCompletedEvent().Wait(0)) << c.name;
    EXPECT_TRUE(encoder.GetEncodingFinishedEvent().Wait(0)) << c.name;
    EXPECT_FALSE(encoder.HasFailed()) << c.name;
    EXPECT_GT(encoder.GetRateDenominator(), 0) << c.name;
    EncodedOggStream stream = DrainStream(encoder);
    EXPECT_EQ(stream.headerPages, 0) << c.name;
    ExpectStreamEndsOnce(stream, c.name);
  }
}

TEST(VorbisEncoder, DestroyingAStartedEncoderEndsItsThread) {
  keEngineContext context;
  AudioFeed feed(&context, 2, 44100);
  auto encoder = std::make_unique<keVorbisEncoder>(&context, nullptr);
  feed.hub.AddListener(encoder.get());
  feed.Begin();
  feed.Play(3, -1, 0, false);
  encoder.reset();  // no end of stream: the thread still waits for blocks
  EXPECT_EQ(feed.handed, 3);
}

TEST(VorbisEncoder, SettingsDefaultsAndTheSourceFormat) {
  keVorbisEncoder encoder(nullptr, nullptr);
  EXPECT_EQ(encoder.GetMaxBitrate(), 300000);
  EXPECT_EQ(encoder.GetNominalBitrate(), 200000);
  EXPECT_EQ(encoder.GetMinBitrate(), 100000);
  EXPECT_EQ(encoder.GetSampleRate(), 0);
  EXPECT_EQ(encoder.GetChannels(), 0);
  EXPECT_EQ(encoder.GetGain(), 1.0f);
  EXPECT_EQ(encoder.GetAudioPolicy(), nullptr);
  encoder.OnFormat(2, 48000);
  EXPECT_EQ(encoder.GetSampleRate(), 48000);
  EXPECT_EQ(encoder.GetChannels(), 2);
  EXPECT_NE(encoder.GetAudioPolicy(), nullptr);
  encoder.OnEndOfStream();
}

}  // namespace
