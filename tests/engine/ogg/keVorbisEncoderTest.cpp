// Vorbis encoder: generated PCM through the audio hub, pages decoded back.
#include <gtest/gtest.h>
#include <vorbis/codec.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "EncodedOggStream.h"
#include "keAudioSample.h"
#include "keAudioSampleFactory.h"
#include "keAudioSilenceFillPolicy.h"
#include "keAudioSource.h"
#include "keVorbisEncoder.h"

namespace {

/// `ms` milliseconds of a 440 Hz tone, interleaved 16-bit, starting at
/// `firstFrame`.
std::vector<uint8_t> Tone(int32_t channels, int32_t rate, int32_t ms, int64_t firstFrame) {
  const int32_t frames = rate * ms / 1000;
  std::vector<uint8_t> bytes(static_cast<size_t>(frames) * channels * 2);
  for (int32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(firstFrame + i) / rate;
    const auto v = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * t));
    for (int32_t c = 0; c < channels; ++c) {
      bytes[(static_cast<size_t>(i) * channels + c) * 2] = static_cast<uint8_t>(v & 0xFF);
      bytes[(static_cast<size_t>(i) * channels + c) * 2 + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
  }
  return bytes;
}

/// Plays the part of the audio renderer filter: one reused sample from a
/// factory, handed to the hub's listeners and waited for until every
/// listener released it.
class AudioFeed {
 public:
  AudioFeed(keEngineContext* context, int32_t channels, int32_t rate)
      : hub(context), factory(channels, rate), channels_(channels), rate_(rate) {}

  void Begin() {
    hub.NotifyFormat(channels_, rate_);
    hub.NotifyStart();
  }
  /// `blocks` blocks of 100 ms; after block `gapAfter` the time stamps jump
  /// ahead by `gapMs`. With `markLast` an empty block flagged last follows.
  void Play(int blocks, int gapAfter = -1, int64_t gapMs = 0, bool markLast = true) {
    int64_t startMs = 0;
    for (int b = 0; b < blocks; ++b) {
      std::vector<uint8_t> pcm = Tone(channels_, rate_, 100, b * int64_t(rate_) / 10);
      Hand(pcm.data(), static_cast<int32_t>(pcm.size()), startMs, startMs + 100, false);
      startMs += 100;
      if (b == gapAfter) startMs += gapMs;
    }
    if (markLast) Hand(nullptr, 0, startMs, startMs, true);
  }
  void End() { hub.NotifyEndOfStream(); }

  keAvSourceBase hub;
  keAudioSampleFactory factory;
  int handed = 0;

 private:
  void Hand(const uint8_t* bytes, int32_t length, int64_t startMs, int64_t endMs, bool last) {
    keAudioSample* sample = factory.GetSample(bytes, length, true);
    sample->start = startMs * 10000;
    sample->end = endMs * 10000;
    sample->last = last;
    hub.NotifySample(sample);
    sample->GetZeroRefEvent().Wait(keINFINITE);
    EXPECT_EQ(sample->GetRefCount(), 0u);
    ++handed;
  }
  int32_t channels_;
  int32_t rate_;
};

struct DecodedVorbis {
  int channels = 0;
  long rate = 0;
  std::string vendor;
  std::vector<std::string> comments;
  int64_t samples = 0;
  bool headersAccepted = false;
};

DecodedVorbis DecodeVorbis(const EncodedOggStream& stream) {
  DecodedVorbis out;
  vorbis_info info;
  vorbis_comment comment;
  vorbis_info_init(&info);
  vorbis_comment_init(&comment);
  size_t next = 0;
  out.headersAccepted = stream.packets.size() >= 3;
  for (; out.headersAccepted && next < 3; ++next) {
    std::vector<uint8_t> bytes = stream.packets[next].bytes;
    ogg_packet packet{};
    packet.packet = bytes.data();
    packet.bytes = static_cast<long>(bytes.size());
    packet.b_o_s = next == 0;
    packet.granulepos = 0;
    if (vorbis_synthesis_headerin(&info, &comment, &packet) != 0) out.headersAccepted = false;
  }
  if (out.headersAccepted) {
    out.channels = info.channels;
    out.rate = info.rate;
    out.vendor = comment.vendor ? comment.vendor : "";
    for (int i = 0; i < comment.comments; ++i) out.comments.emplace_back(comment.user_comments[i]);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_synthesis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    for (; next < stream.packets.size(); ++next) {
      // The granule positions and the end flag let the decoder trim the
      // padding of the last block, as a player does.
      std::vector<uint8_t> bytes = stream.packets[next].bytes;
      ogg_packet packet{};
      packet.packet = bytes.data();
      packet.bytes = static_cast<long>(bytes.size());
      packet.granulepos = stream.packets[next].granulepos;
      packet.e_o_s = stream.packets[next].endOfStream;
      packet.packetno = static_cast<int64_t>(next);
      if (vorbis_synthesis(&block, &packet) == 0) vorbis_synthesis_blockin(&dsp, &block);
      float** pcm;
      int n;
      while ((n = vorbis_synthesis_pcmout(&dsp, &pcm)) > 0) {
        out.samples += n;
        vorbis_synthesis_read(&dsp, n);
      }
    }
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
  }
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

void ExpectStreamEndsOnce(const EncodedOggStream& stream, const std::string& where) {
  EXPECT_TRUE(stream.firstPageBeginsStream) << where;
  EXPECT_TRUE(stream.lastPageEndsStream) << where;
  EXPECT_EQ(stream.endOfStreamPages, 1) << where;
  EXPECT_TRUE(stream.packetsContinuous) << where;
}

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
      {"source format kept", 2, 44100, 0, 0, 300000, 200000, 100000, false, 0, -1, 0, true, 2,
       44100, 1.0, "Audio bitrate=195 Kb/s"},
      {"resampled to 22050 Hz mono", 2, 44100, 1, 22050, 64000, 48000, 32000, false, 0, -1, 0,
       true, 1, 22050, 1.0, "Audio bitrate=46 Kb/s"},
      {"mono source made stereo", 1, 22050, 2, 44100, 300000, 200000, 100000, false, 0, -1, 0,
       true, 2, 44100, 1.0, "Audio bitrate=195 Kb/s"},
      {"silence fills a one second gap", 2, 44100, 0, 0, 300000, 200000, 100000, true, 0, 4,
       1000, true, 2, 44100, 2.0, "Audio bitrate=195 Kb/s"},
      {"pass-through policy ignores the gap", 2, 44100, 0, 0, 300000, 200000, 100000, false, 0,
       4, 1000, true, 2, 44100, 1.0, "Audio bitrate=195 Kb/s"},
      {"encoding inline on the streaming thread", 2, 44100, 0, 0, 300000, 200000, 100000, false,
       2, -1, 0, true, 2, 44100, 1.0, "Audio bitrate=195 Kb/s"},
      {"end of stream without a block flagged last", 2, 44100, 0, 0, 300000, 200000, 100000,
       false, 0, -1, 0, false, 2, 44100, 1.0, "Audio bitrate=195 Kb/s"},
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
                                           "Sample Rate=" + std::to_string(c.rate) + " Hz",
                                           c.bitrateTag};
    EXPECT_EQ(decoded.comments, tags) << c.name;
    EXPECT_NEAR(static_cast<double>(decoded.samples), c.seconds * c.rate, 0.01 * c.rate)
        << c.name;
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
