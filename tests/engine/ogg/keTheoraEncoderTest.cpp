// Theora encoder: generated planar frames through the video hub, pages
// decoded back with libtheora's decoder (and ffmpeg).
#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "EncodedOggStream.h"
#include "EncoderFeeds.h"
#include "OggDecoders.h"
#include "ogg/keFrameRatioPolicy.h"
#include "ogg/keFrameTimestampPolicy.h"
#include "ogg/keTheoraEncoder.h"

namespace {

keVideoSyncPolicy* MakePolicy(bool timestamp) {
  if (timestamp) return new keFrameTimestampPolicy;
  return new keFrameRatioPolicy;
}

/// What a fresh policy of the same kind decides for the frames the feed
/// handed: the number of pictures the encoder must have emitted.
int64_t PolicyEmitTotal(bool timestamp, double sourceFps, double targetFps, const VideoFeed& feed) {
  std::unique_ptr<keVideoSyncPolicy> policy(MakePolicy(timestamp));
  policy->SetSourceFps(sourceFps);
  policy->SetTargetFps(targetFps);
  policy->Reset();
  keVideoSampleFactory factory(16, 16, keVideoFormatYuv420);
  keVideoSample frame(&factory, 16, 16, keVideoFormatYuv420);
  int64_t total = 0;
  for (size_t i = 0; i < feed.starts.size(); ++i) {
    frame.start = feed.starts[i];
    frame.last = feed.lasts[i];
    policy->Decide(&frame);
    total += policy->GetEmitCount();
  }
  return total;
}

struct FormatCase {
  std::string name;
  int32_t sourceWidth, sourceHeight;
  double sourceFps;
  int32_t setWidth, setHeight;
  double setFps;
  bool timestamp;
  keCropBands bands;
  int32_t outWidth, outHeight;
  bool scaling;
  uint32_t fpsNumerator;
};

TEST(TheoraEncoder, FormatFixesSizeRateAndTheCropAndScaleStep) {
  const std::vector<FormatCase> cases = {
      {"source size kept", 320, 240, 25, 0, 0, 0, false, {}, 320, 240, false, 25000},
      {"source width rounded up to 16", 322, 240, 25, 0, 0, 0, false, {}, 336, 240, true, 25000},
      {"set width rounded up to 16", 320, 240, 25, 100, 0, 0, false, {}, 112, 240, true, 25000},
      {"set size", 320, 240, 25, 160, 128, 0, false, {}, 160, 128, true, 25000},
      // The crop margins must not be lost when the size stays the same.
      {"crop at the source size", 320, 240, 25, 0, 0, 0, false, {8, 8, 0, 0}, 320, 240, true, 25000},
      {"one crop band alone", 320, 240, 25, 320, 240, 0, false, {0, 0, 0, 16}, 320, 240, true, 25000},
      {"ratio policy cannot raise the rate", 320, 240, 25, 0, 0, 30, false, {}, 320, 240, false, 25000},
      {"timestamp policy can", 320, 240, 25, 0, 0, 30, true, {}, 320, 240, false, 30000},
      {"ratio policy lowers it", 320, 240, 25, 0, 0, 12.5, false, {}, 320, 240, false, 12500},
      {"fractional source rate", 320, 240, 29.97, 0, 0, 0, false, {}, 320, 240, false, 29970},
  };
  for (const auto& c : cases) {
    keTheoraEncoder encoder(nullptr, nullptr);
    encoder.SetVideoPolicy(MakePolicy(c.timestamp));
    encoder.SetWidth(c.setWidth);
    encoder.SetHeight(c.setHeight);
    encoder.SetFps(c.setFps);
    encoder.OnFormat(c.sourceWidth, c.sourceHeight, c.sourceFps, c.bands.top, c.bands.bottom, c.bands.left,
                     c.bands.right);
    EXPECT_EQ(encoder.GetOutputWidth(), c.outWidth) << c.name;
    EXPECT_EQ(encoder.GetOutputHeight(), c.outHeight) << c.name;
    EXPECT_EQ(encoder.GetFrameWidth(), c.outWidth) << c.name;
    EXPECT_EQ(encoder.GetFrameHeight(), c.outHeight) << c.name;
    EXPECT_EQ(encoder.IsScaling(), c.scaling) << c.name;
    EXPECT_EQ(encoder.GetRateNumerator(), 1000 * 1000) << c.name;
    EXPECT_EQ(encoder.GetRateDenominator(), static_cast<int32_t>(c.fpsNumerator)) << c.name;
    EXPECT_FALSE(encoder.HasFailed()) << c.name;
  }
}

TEST(TheoraEncoder, SettingsDefaultsAndBitrates) {
  keTheoraEncoder encoder(nullptr, nullptr);
  EXPECT_EQ(encoder.GetBitrate(), 750000);
  EXPECT_EQ(encoder.GetWidth(), 0);
  EXPECT_EQ(encoder.GetHeight(), 0);
  EXPECT_EQ(encoder.GetFps(), 0.0);
  EXPECT_EQ(encoder.GetQuickMode(), 1);
  EXPECT_EQ(encoder.GetKeyframeAuto(), 1);
  EXPECT_EQ(encoder.GetKeyframeFrequency(), 64);
  EXPECT_EQ(encoder.GetKeyframeFrequencyForce(), 64);
  EXPECT_EQ(encoder.GetKeyframeAutoThreshold(), 80);
  EXPECT_EQ(encoder.GetKeyframeMinDistance(), 1);
  EXPECT_EQ(encoder.GetNoiseSensitivity(), 1);
  EXPECT_EQ(encoder.GetSharpness(), 1);
  EXPECT_EQ(encoder.GetDropFrames(), 0);
  EXPECT_STREQ(encoder.GetDescription(), "");
  EXPECT_EQ(encoder.GetVideoPolicy(), nullptr);
  encoder.OnFormat(320, 240, 25.0, 0, 0, 0, 0);
  EXPECT_NE(encoder.GetVideoPolicy(), nullptr) << "a frame-ratio policy when none was set";
  EXPECT_FALSE(encoder.GetVideoPolicy()->CanRepeat());
  EXPECT_EQ(encoder.GetFps(), 25.0) << "the source's rate when none is set";
  EXPECT_EQ(encoder.GetTargetBitrate(), 750000);
  EXPECT_EQ(encoder.GetKeyframeDataTargetBitrate(), 1125000);
  encoder.OnEndOfStream();
}

struct EncodeCase {
  std::string name;
  int32_t sourceWidth, sourceHeight;
  double sourceFps;
  int32_t setWidth, setHeight;
  double setFps;
  bool timestamp;
  int contextMode;
  int frames;
  int64_t expectedFrames;  // what the policy's emit counts add up to
  int32_t outWidth, outHeight;
  std::vector<std::string> tags;
};

TEST(TheoraEncoder, EncodesFramesIntoAStreamDecodersAccept) {
  const std::vector<EncodeCase> cases = {
      {"source size and rate",
       320,
       240,
       25,
       0,
       0,
       0,
       false,
       0,
       20,
       21,
       320,
       240,
       {"Width=320", "Height=240", "Video bitrate=732 Kb/s", "Fps=25.0"}},
      {"scaled up to a multiple of 16",
       322,
       240,
       25,
       0,
       0,
       0,
       false,
       0,
       12,
       13,
       336,
       240,
       {"Width=336", "Height=240", "Video bitrate=732 Kb/s", "Fps=25.0"}},
      {"halved rate drops every other frame",
       160,
       128,
       25,
       0,
       0,
       12.5,
       false,
       0,
       20,
       12,
       160,
       128,
       {"Width=160", "Height=128", "Video bitrate=732 Kb/s", "Fps=12.5"}},
      {"doubled rate repeats frames",
       160,
       128,
       12.5,
       0,
       0,
       25,
       true,
       0,
       10,
       19,
       160,
       128,
       {"Width=160", "Height=128", "Video bitrate=732 Kb/s", "Fps=25.0"}},
      {"encoding inline on the streaming thread",
       160,
       128,
       25,
       100,
       0,
       0,
       false,
       2,
       8,
       9,
       112,
       128,
       {"Width=112", "Height=128", "Video bitrate=732 Kb/s", "Fps=25.0"}},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    context.mode = c.contextMode;
    keTheoraEncoder encoder(&context, " test");
    encoder.SetVideoPolicy(MakePolicy(c.timestamp));
    encoder.SetWidth(c.setWidth);
    encoder.SetHeight(c.setHeight);
    encoder.SetFps(c.setFps);
    VideoFeed feed(&context, c.sourceWidth, c.sourceHeight, c.sourceFps);
    feed.hub.AddListener(&encoder);
    feed.Begin();
    feed.Play(c.frames);
    feed.End();
    EXPECT_TRUE(encoder.GetEncodingFinishedEvent().Wait(0)) << c.name;
    EXPECT_FALSE(encoder.HasFailed()) << c.name << ": " << encoder.GetFailureReason();

    EncodedOggStream stream = DrainStream(encoder);
    EXPECT_EQ(stream.streamsFound, 1) << c.name;
    ExpectStreamEndsOnce(stream, c.name);
    EXPECT_EQ(stream.headerPages, 3) << c.name << ": one page per header packet";
    DecodedTheora decoded = DecodeTheora(stream);
    ASSERT_TRUE(decoded.headersAccepted) << c.name;
    EXPECT_EQ(decoded.frameWidth, static_cast<uint32_t>(c.outWidth)) << c.name;
    EXPECT_EQ(decoded.frameHeight, static_cast<uint32_t>(c.outHeight)) << c.name;
    EXPECT_EQ(decoded.picWidth, static_cast<uint32_t>(c.outWidth)) << c.name;
    EXPECT_EQ(decoded.picHeight, static_cast<uint32_t>(c.outHeight)) << c.name;
    EXPECT_FALSE(decoded.vendor.empty()) << c.name;
    EXPECT_EQ(decoded.comments, c.tags) << c.name;
    EXPECT_EQ(decoded.packetErrors, 0) << c.name;
    const double fps = c.setFps != 0 && (c.timestamp || c.setFps < c.sourceFps) ? c.setFps : c.sourceFps;
    EXPECT_EQ(PolicyEmitTotal(c.timestamp, c.sourceFps, fps, feed), c.expectedFrames) << c.name;
    EXPECT_EQ(decoded.frames, c.expectedFrames) << c.name;
    EXPECT_EQ(decoded.lastFrameNumber + 1, c.expectedFrames)
        << c.name << ": the last granule position counts every frame";
    std::string skipped;
    EXPECT_EQ(FfmpegComplaints(stream.bytes, &skipped), "") << c.name;
  }
}

TEST(TheoraEncoder, CropMarginsAreCutEvenAtTheSourceSize) {
  // A bright 16-pixel border around a dark picture; cropping it away at the
  // source's own size must leave no bright pixel in the encoded picture.
  keEngineContext context;
  keTheoraEncoder encoder(&context, nullptr);
  VideoFeed feed(&context, 160, 128, 25, 16);
  feed.hub.AddListener(&encoder);
  feed.Begin(16, 16, 16, 16);
  feed.Play(3);
  feed.End();
  EncodedOggStream stream = DrainStream(encoder);
  DecodedTheora decoded = DecodeTheora(stream);
  ASSERT_TRUE(decoded.headersAccepted);
  ASSERT_EQ(decoded.firstLuma.size(), 160u * 128u);
  EXPECT_EQ(decoded.picWidth, 160u);
  int bright = 0;
  for (uint8_t y : decoded.firstLuma) bright += y > 160;
  EXPECT_LT(bright, 160 * 128 / 100) << "the border was encoded instead of cut away";

  // Without the bands the border stays: the check above does see it.
  keTheoraEncoder uncropped(&context, nullptr);
  VideoFeed same(&context, 160, 128, 25, 16);
  same.hub.AddListener(&uncropped);
  same.Begin();
  same.Play(3);
  same.End();
  DecodedTheora whole = DecodeTheora(DrainStream(uncropped));
  int wholeBright = 0;
  for (uint8_t y : whole.firstLuma) wholeBright += y > 160;
  EXPECT_GT(wholeBright, 160 * 128 / 4);
}

struct RefusedCase {
  std::string name;
  int32_t width, height;
  double sourceFps, setFps;
  std::string reason;
};

TEST(TheoraEncoder, RefusedSettingsFailTheStreamButStillEndIt) {
  const std::vector<RefusedCase> cases = {
      // libtheora would divide by a zero rate and end the process.
      {"no frame rate known", 160, 128, 0.0, 0.0, "no frame rate"},
      {"a negative frame rate", 160, 128, -1.0, 0.0, "no frame rate"},
      {"a picture of no size", 0, 0, 25.0, 0.0, "Theora encoder refused"},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keTheoraEncoder encoder(&context, nullptr);
    VideoFeed feed(&context, c.width, c.height, c.sourceFps > 0 ? c.sourceFps : 25.0);
    feed.hub.AddListener(&encoder);
    feed.hub.NotifyFormat(c.width, c.height, c.sourceFps, 0, 0, 0, 0);
    feed.hub.NotifyStart();
    feed.Play(14);  // more frames than the queue holds: every one must come back
    feed.End();
    EXPECT_EQ(feed.handed, 15) << c.name;
    EXPECT_TRUE(encoder.HasFailed()) << c.name;
    EXPECT_NE(encoder.GetFailureReason().find(c.reason), std::string::npos)
        << c.name << ": " << encoder.GetFailureReason();
    EXPECT_GT(encoder.GetRateDenominator(), 0) << c.name;
    EncodedOggStream stream = DrainStream(encoder);
    EXPECT_EQ(stream.headerPages, 0) << c.name;
    EXPECT_EQ(stream.dataPages, 1) << c.name;
    ExpectStreamEndsOnce(stream, c.name);
  }
}

// A frame of another size than announced cannot be encoded; dropping it
// without a word would pass a video with holes as a whole one.
TEST(TheoraEncoder, AFrameOfAnotherSizeFailsTheStream) {
  keEngineContext context;
  keTheoraEncoder encoder(&context, nullptr);
  VideoFeed feed(&context, 160, 128, 25.0);
  feed.hub.AddListener(&encoder);
  feed.hub.NotifyFormat(96, 80, 25.0, 0, 0, 0, 0);
  feed.hub.NotifyStart();
  feed.Play(3);
  feed.End();
  EXPECT_EQ(feed.handed, 4);
  EXPECT_TRUE(encoder.HasFailed());
  EXPECT_NE(encoder.GetFailureReason().find("160x128"), std::string::npos) << encoder.GetFailureReason();
  ExpectStreamEndsOnce(DrainStream(encoder), "a frame of another size");
}

TEST(TheoraEncoder, AStreamEndsWhateverWayTheSourceStops) {
  struct Case {
    std::string name;
    bool start;
    int frames;
    bool markLast;
    int32_t headerPages;
  };
  const std::vector<Case> cases = {
      {"never started", false, 0, false, 0},
      {"frames before the start are given back", false, 4, false, 0},
      {"started without frames", true, 0, false, 3},
      {"ended without a frame flagged last", true, 5, false, 3},
  };
  for (const auto& c : cases) {
    keEngineContext context;
    keTheoraEncoder encoder(&context, nullptr);
    VideoFeed feed(&context, 160, 128, 25);
    feed.hub.AddListener(&encoder);
    feed.hub.NotifyFormat(160, 128, 25, 0, 0, 0, 0);
    if (c.start) feed.hub.NotifyStart();
    feed.Play(c.frames, c.markLast);
    feed.End();
    EXPECT_EQ(feed.handed, c.frames) << c.name;
    EXPECT_TRUE(encoder.GetSetupCompletedEvent().Wait(0)) << c.name;
    EXPECT_TRUE(encoder.GetEncodingFinishedEvent().Wait(0)) << c.name;
    EXPECT_FALSE(encoder.HasFailed()) << c.name;
    EncodedOggStream stream = DrainStream(encoder);
    EXPECT_EQ(stream.headerPages, c.headerPages) << c.name;
    ExpectStreamEndsOnce(stream, c.name);
    if (c.headerPages > 0) {
      DecodedTheora decoded = DecodeTheora(stream);
      EXPECT_TRUE(decoded.headersAccepted) << c.name;
      EXPECT_EQ(decoded.packetErrors, 0) << c.name;
      EXPECT_GE(decoded.frames, c.frames) << c.name;
    }
  }
}

TEST(TheoraEncoder, DestroyingAStartedEncoderEndsItsThread) {
  keEngineContext context;
  VideoFeed feed(&context, 160, 128, 25);
  auto encoder = std::make_unique<keTheoraEncoder>(&context, nullptr);
  feed.hub.AddListener(encoder.get());
  feed.Begin();
  feed.Play(3, false);
  encoder.reset();  // no end of stream: the thread still waits for frames
  EXPECT_EQ(feed.handed, 3);
}

}  // namespace
