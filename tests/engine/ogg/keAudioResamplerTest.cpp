// Audio resampler: pass-through, rate and channel conversion, float output.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ogg/keAudioResampler.h"

namespace {

std::vector<uint8_t> Pcm(const std::vector<int16_t>& values) {
  std::vector<uint8_t> bytes(values.size() * 2);
  for (size_t i = 0; i < values.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(values[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>((values[i] >> 8) & 0xFF);
  }
  return bytes;
}

/// `frames` frames of `channels` channels, every channel holding `level[c]`.
std::vector<uint8_t> Constant(int32_t frames, const std::vector<int16_t>& level) {
  std::vector<int16_t> values;
  for (int32_t i = 0; i < frames; ++i)
    for (int16_t v : level) values.push_back(v);
  return Pcm(values);
}

/// The resampler's output, one vector per channel.
std::vector<std::vector<float>> Floats(const keAudioResampler& r) {
  std::vector<std::vector<float>> channels(r.GetOutChannels(), std::vector<float>(r.GetOutSamples()));
  std::vector<float*> pointers;
  for (auto& c : channels) pointers.push_back(c.data());
  r.ToFloat(pointers.data());
  return channels;
}

struct FloatCase {
  float gain;
  std::vector<int16_t> samples;  // interleaved stereo
  std::vector<float> left, right;
};

TEST(AudioResampler, PassThroughConvertsToFloatWithGainAndClamping) {
  const std::vector<FloatCase> cases = {
      {1.0f, {32767, -32768, 16384, 0}, {0.999969482421875f, 0.5f}, {-1.0f, 0.0f}},
      {2.0f, {20000, -20000, 8192, -8192}, {1.0f, 0.5f}, {-1.0f, -0.5f}},
      {0.5f, {-32768, 1, 0, 0}, {-0.5f, 0.0f}, {1.52587890625e-05f, 0.0f}},
  };
  for (const auto& c : cases) {
    keAudioResampler r(2, 44100, 2, 44100);
    r.SetGain(c.gain);
    ASSERT_TRUE(r.IsPassThrough());
    std::vector<uint8_t> block = Pcm(c.samples);
    r.Resample(block.data(), static_cast<int32_t>(block.size()));
    EXPECT_EQ(r.GetBuffer(), block.data()) << "pass-through reads the caller's block";
    EXPECT_EQ(r.GetCapacity(), 0);
    auto out = Floats(r);
    EXPECT_EQ(out[0], c.left) << "gain " << c.gain;
    EXPECT_EQ(out[1], c.right) << "gain " << c.gain;
    r.Flush();
    EXPECT_EQ(r.GetOutSamples(), 0);
  }
}

struct SizeCase {
  int32_t inChannels, inRate, outChannels, outRate;
  int32_t bytes;
  bool passThrough;
  int64_t capacity;
  int32_t inSamples;
};

TEST(AudioResampler, CountsInputFramesAndSizesItsBuffer) {
  const std::vector<SizeCase> cases = {
      {2, 44100, 2, 44100, 17640, true, 0, 4410},        {1, 22050, 1, 22050, 7, true, 0, 3},
      {2, 44100, 2, 22050, 17640, false, 3528000, 4410}, {2, 44100, 1, 44100, 17640, false, 3528000, 4410},
      {1, 8000, 2, 48000, 7, false, 3840000, 3},
  };
  for (const auto& c : cases) {
    keAudioResampler r(c.inChannels, c.inRate, c.outChannels, c.outRate);
    std::vector<uint8_t> block(c.bytes, 0);
    r.Resample(block.data(), c.bytes);
    const std::string where = std::to_string(c.inChannels) + "x" + std::to_string(c.inRate) + " to " +
                              std::to_string(c.outChannels) + "x" + std::to_string(c.outRate);
    EXPECT_EQ(r.IsPassThrough(), c.passThrough) << where;
    EXPECT_TRUE(r.IsReady()) << where;
    EXPECT_EQ(r.GetCapacity(), c.capacity) << where;
    EXPECT_EQ(r.GetInSamples(), c.inSamples) << where;
  }
}

TEST(AudioResampler, HalvingTheRateKeepsEverySampleOnceFlushed) {
  keAudioResampler r(2, 44100, 2, 22050);
  const uint8_t* buffer = nullptr;
  int64_t total = 0;
  for (int block = 0; block < 10; ++block) {
    std::vector<uint8_t> pcm = Constant(4410, {8000, -8000});
    r.Resample(pcm.data(), static_cast<int32_t>(pcm.size()));
    EXPECT_NEAR(r.GetOutSamples(), 2205, 40) << "block " << block;
    if (block == 0) buffer = r.GetBuffer();
    EXPECT_EQ(r.GetBuffer(), buffer) << "ordinary blocks reuse the buffer";
    EXPECT_EQ(r.GetCapacity(), 3528000);
    total += r.GetOutSamples();
  }
  r.Flush();
  total += r.GetOutSamples();
  EXPECT_NEAR(total, 22050, 1);
  // The steady part of the output keeps the level of each side.
  std::vector<uint8_t> pcm = Constant(4410, {8000, -8000});
  r.Resample(pcm.data(), static_cast<int32_t>(pcm.size()));
  auto out = Floats(r);
  EXPECT_NEAR(out[0][1000], 8000 / 32768.0, 0.01);
  EXPECT_NEAR(out[1][1000], -8000 / 32768.0, 0.01);
}

struct MixCase {
  int32_t inChannels, outChannels;
  std::vector<int16_t> level;   // per input channel
  std::vector<float> expected;  // per output channel
};

TEST(AudioResampler, MixesMonoAndStereoAtFullLevel) {
  const std::vector<MixCase> cases = {
      {1, 2, {8192}, {0.25f, 0.25f}},
      {2, 1, {4096, 12288}, {0.25f}},
  };
  for (const auto& c : cases) {
    keAudioResampler r(c.inChannels, 44100, c.outChannels, 44100);
    ASSERT_FALSE(r.IsPassThrough());
    std::vector<uint8_t> pcm = Constant(1000, c.level);
    r.Resample(pcm.data(), static_cast<int32_t>(pcm.size()));
    ASSERT_EQ(r.GetOutSamples(), 1000);
    auto out = Floats(r);
    for (int32_t ch = 0; ch < c.outChannels; ++ch)
      EXPECT_NEAR(out[ch][500], c.expected[ch], 1e-4) << c.inChannels << " to " << c.outChannels;
  }
}

TEST(AudioResampler, ABlockLongerThanTheBufferGrowsItInsteadOfOverrunning) {
  // 21 s of 8 kHz mono becomes 21 s of 48 kHz stereo: more than the twenty
  // seconds the buffer is made for.
  keAudioResampler r(1, 8000, 2, 48000);
  std::vector<uint8_t> pcm = Constant(21 * 8000, {1000});
  r.Resample(pcm.data(), static_cast<int32_t>(pcm.size()));
  EXPECT_GT(r.GetCapacity(), 3840000);
  EXPECT_GE(r.GetCapacity(), static_cast<int64_t>(r.GetOutSamples()) * 4);
  auto out = Floats(r);
  EXPECT_NEAR(out[1][r.GetOutSamples() / 2], 1000 / 32768.0, 0.001);
  const int64_t first = r.GetOutSamples();
  r.Flush();
  EXPECT_NEAR(first + r.GetOutSamples(), 21 * 48000, 1);
}

TEST(AudioResampler, CloseLeavesNothingToConvert) {
  keAudioResampler r(2, 44100, 2, 22050);
  r.Close();
  EXPECT_EQ(r.GetCapacity(), 0);
  std::vector<uint8_t> pcm = Constant(100, {1, 1});
  r.Resample(pcm.data(), static_cast<int32_t>(pcm.size()));
  EXPECT_EQ(r.GetOutSamples(), 0);
}

}  // namespace
