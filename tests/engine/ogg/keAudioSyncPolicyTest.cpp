// Audio policies: the bytes each policy asks the encoder for, block by block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ogg/keAudioPassThroughPolicy.h"
#include "keAudioSample.h"
#include "ogg/keAudioSilenceFillPolicy.h"

namespace {

struct Block {
  int32_t length;      // bytes of the block
  int64_t endMs;       // the block's end time
  int32_t silence;     // expected silence bytes before it
  int64_t producedMs;  // expected audio accounted for afterwards
  bool lagging;        // expected lag state afterwards
};

struct SilenceCase {
  std::string name;
  int32_t channels;
  int32_t sampleRate;
  std::vector<Block> blocks;
};

TEST(AudioSilenceFillPolicy, InsertsTheLagAsSilenceUpToOneSecondPerBlock) {
  const std::vector<SilenceCase> cases = {
      {"a 300 ms gap is filled at once", 2, 44100, {{17640, 400, 52920, 400, false}}},
      {"a gap under 200 ms is left alone", 2, 44100, {{17640, 250, 0, 100, false}}},
      {"exactly 200 ms starts the fill", 2, 44100, {{17640, 300, 35280, 300, false}}},
      {"a 3 s gap takes three blocks of at most 176400 bytes",
       2,
       44100,
       {{17640, 3100, 176400, 1100, true},
        {17640, 3200, 176400, 2200, true},
        {17640, 3300, 176400, 3300, false},
        {17640, 3400, 0, 3400, false}}},
      {"mono 22050 Hz counts its own bytes per second", 1, 22050, {{4410, 350, 11025, 350, false}}},
      {"a block ending before the produced audio asks for no silence",
       2,
       44100,
       {{17640, 3100, 176400, 1100, true}, {17640, 1000, 0, 1200, false}}},
  };
  for (const auto& c : cases) {
    keAudioSilenceFillPolicy policy;
    policy.SetChannels(c.channels);
    policy.SetSampleRate(c.sampleRate);
    policy.Reset();
    std::vector<uint8_t> bytes(20000, 7);
    keAudioSample sample(nullptr);
    for (size_t i = 0; i < c.blocks.size(); ++i) {
      const Block& b = c.blocks[i];
      sample.SetData(bytes.data(), b.length, false);
      sample.end = b.endMs * 10000;
      policy.Process(&sample);
      const std::string where = c.name + ", block " + std::to_string(i);
      int32_t silenceLength = -1;
      const uint8_t* silence = policy.GetSilence(&silenceLength);
      EXPECT_EQ(silenceLength, b.silence) << where;
      EXPECT_EQ(policy.GetSilenceLength(), b.silence) << where;
      EXPECT_EQ(policy.GetProducedMs(), b.producedMs) << where;
      EXPECT_EQ(policy.IsLagging(), b.lagging) << where;
      int32_t dataLength = -1;
      EXPECT_EQ(policy.GetData(&dataLength), bytes.data()) << where;
      EXPECT_EQ(dataLength, b.length) << where;
      for (int32_t k = 0; k < silenceLength; ++k) ASSERT_EQ(silence[k], 0) << where;
    }
  }
}

TEST(AudioSilenceFillPolicy, ResetForgetsTheLag) {
  keAudioSilenceFillPolicy policy;
  policy.SetChannels(2);
  policy.SetSampleRate(44100);
  std::vector<uint8_t> bytes(17640);
  keAudioSample sample(nullptr);
  sample.SetData(bytes.data(), 17640, false);
  sample.end = 3100 * 10000;
  policy.Process(&sample);
  ASSERT_TRUE(policy.IsLagging());
  policy.Reset();
  EXPECT_FALSE(policy.IsLagging());
  EXPECT_EQ(policy.GetProducedMs(), 0);
  sample.end = 250 * 10000;
  policy.Process(&sample);
  EXPECT_EQ(policy.GetSilenceLength(), 0);
  EXPECT_EQ(policy.GetProducedMs(), 100);
}

TEST(AudioPassThroughPolicy, HandsOnTheBlockWithoutSilence) {
  keAudioPassThroughPolicy policy;
  policy.SetChannels(2);
  policy.SetSampleRate(44100);
  policy.Reset();
  std::vector<uint8_t> bytes(400, 1);
  keAudioSample sample(nullptr);
  sample.SetData(bytes.data(), 400, false);
  sample.end = 100000000;  // far ahead of the audio: still no silence
  policy.Process(&sample);
  int32_t silence = -1, data = -1;
  EXPECT_EQ(policy.GetSilence(&silence), nullptr);
  EXPECT_EQ(silence, 0);
  EXPECT_EQ(policy.GetSilenceLength(), 0);
  EXPECT_EQ(policy.GetData(&data), bytes.data());
  EXPECT_EQ(data, 400);
  EXPECT_EQ(policy.GetDataLength(), 400);
}

}  // namespace
