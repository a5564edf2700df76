// The whole output path on generated media: per-profile encoders fed by a
// source through the listener hubs, stream managers, temporary files and the
// container written by the output thread, including abort and failure.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "GeneratedEncode.h"
#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "PollUntil.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "orvexa/keAbstractOrvexaContent.h"
#include "orvexa/keOrvexaWriter.h"

namespace {

GeneratedMedia ShortClip(double seconds = 1.0) {
  GeneratedMedia media;
  media.width = 160;
  media.height = 120;
  media.fps = 25.0;
  media.seconds = seconds;
  return media;
}

// Property maps of every content, in the writer's (final) list order.
std::vector<std::map<std::string, std::string>> AllContentProperties(OrvexaOutput& output) {
  std::vector<std::map<std::string, std::string>> all;
  keOrvexaWriter* writer = output.GetWriter();
  for (int32_t i = 0; i < writer->ContentCount(); ++i) all.push_back(ContentProperties(*writer->GetContent(i)));
  return all;
}

const std::map<std::string, std::string>* FindById(const std::vector<std::map<std::string, std::string>>& all,
                                                   const std::string& id) {
  for (const auto& properties : all)
    if (properties.at("content-id") == id) return &properties;
  return nullptr;
}

}  // namespace

TEST(OrvexaOutput, TwoProfilesGiveFourContentsWithTheirIdsAndProperties) {
  TempDir dir;
  GeneratedMedia media = ShortClip();
  media.fps = 30.0;  // frames are only dropped, never repeated: 29.97 needs a faster source
  GeneratedEncode encode(media, {{"Slow", 96, 72, 12.5, 128, 40}, {"Smooth", 160, 120, 29.97, 300, 48}},
                         dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(encode.Run());
  ASSERT_TRUE(encode.Output().Succeeded()) << encode.Output().GetFailureText();
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"}) << "temporary files left behind";

  const auto all = AllContentProperties(encode.Output());
  ASSERT_EQ(all.size(), 4u);
  const auto* slow = FindById(all, "0");
  const auto* smooth = FindById(all, "1");
  ASSERT_TRUE(slow && smooth);
  EXPECT_EQ(slow->at("content-name"), "Slow");
  EXPECT_EQ(slow->at("content-type"), "kestrin-av");
  EXPECT_EQ(slow->at("video-width"), "96");  // rounded up to 16
  EXPECT_EQ(slow->at("video-height"), "80");
  EXPECT_EQ(slow->at("video-fps-num"), "12500");
  EXPECT_EQ(slow->at("video-fps-den"), "1000");
  EXPECT_EQ(smooth->at("video-fps-num"), "29970");
  EXPECT_EQ(slow->at("audio-sample-rate"), "22050");
  EXPECT_EQ(slow->at("required-bitrate"), "168000");
  EXPECT_EQ(slow->at("content-duration"), "1000");
  EXPECT_EQ(slow->at("encryption-mode"), "crx");
  EXPECT_EQ(slow->at("encryption-key").size(), 16u);
  EXPECT_NE(slow->at("encryption-key"), smooth->at("encryption-key"));

  const auto* slowIndex = FindById(all, "2");
  const auto* smoothIndex = FindById(all, "3");
  ASSERT_TRUE(slowIndex && smoothIndex);
  EXPECT_EQ(slowIndex->at("content-type"), "kestrin-av-seek-index");
  EXPECT_EQ(slowIndex->at("content-ref-id"), "0");
  EXPECT_EQ(smoothIndex->at("content-ref-id"), "1");
  EXPECT_EQ(smoothIndex->at("content-name"), "Seek Index");
  // The profile closest to 390 kbit/s leads the file.
  EXPECT_EQ(all[0].at("content-name"), "Smooth");

  // The file itself, read from its bytes alone, and every profile decoded.
  const OrvexaContainer container = ReadOrvexaContainerFile(dir.File("out.orx"));
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
  ASSERT_EQ(container.AudioVideoContents().size(), 2u);
  const std::vector<int> frames = {13, 30};  // 30 source frames kept at 12.5 and at 29.97 fps
  for (size_t i = 0; i < 2; ++i) {
    const OggDecodeResult decoded = DecodeOggBytes(container.AudioVideoContents()[i]->oggBytes);
    EXPECT_FALSE(decoded.decodeErrors) << decoded.errorText;
    const DecodedOggStream* video = decoded.Stream("video");
    ASSERT_TRUE(video != nullptr);
    EXPECT_NEAR(static_cast<double>(video->frames), frames[i], 1.0);
    ASSERT_TRUE(decoded.Stream("audio") != nullptr);
    EXPECT_NEAR(decoded.Stream("audio")->durationSeconds, 1.0, 0.1);
  }
}

TEST(OrvexaOutput, VideoOnlyProfileHasNoAudioProperties) {
  TempDir dir;
  GeneratedProfile videoOnly{"Silent", 160, 120, 25, 200, 0};
  GeneratedEncode encode(ShortClip(), {videoOnly}, dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(encode.Run());
  ASSERT_TRUE(encode.Output().Succeeded()) << encode.Output().GetFailureText();
  const auto properties = ContentProperties(*encode.Output().GetWriter()->GetContent(0));
  EXPECT_EQ(
      properties.count("audio-bitrate") + properties.count("audio-channels") + properties.count("audio-sample-rate"),
      0u);
  EXPECT_EQ(properties.at("required-bitrate"), "200000");
}

// Where in the run the user cancels.
enum class AbortPoint { BeforeStart, WhileHeaderWaits, WhileEncoding };

class OrvexaOutputAbort : public ::testing::TestWithParam<AbortPoint> {};

TEST_P(OrvexaOutputAbort, EndsPromptlyWithoutHeaderOrTemporaryFiles) {
  TempDir dir;
  GeneratedMedia media = ShortClip(30.0);
  if (GetParam() == AbortPoint::WhileHeaderWaits) media.stallAfterFrames = 5;
  const std::string out = dir.File("out.orx");
  {
    GeneratedEncode encode(media, {{"A", 96, 80, 25, 128, 40}, {"B", 160, 128, 25, 256, 48}}, out, dir.Path());
    if (GetParam() == AbortPoint::BeforeStart) {
      encode.Output().Abort(true);
      encode.Start();
    } else {
      encode.Start();
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      encode.Output().Abort(true);
    }
    ASSERT_TRUE(encode.WaitFinished(30.0)) << "the aborted output never finished";
    EXPECT_FALSE(encode.Output().Succeeded());
    EXPECT_NE(encode.Output().GetFailureText().find("cancelled"), std::string::npos);
    EXPECT_TRUE(dir.Entries().empty()) << "an aborted run left a file";
  }
  EXPECT_TRUE(dir.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(AnyMoment, OrvexaOutputAbort,
                         ::testing::Values(AbortPoint::BeforeStart, AbortPoint::WhileHeaderWaits,
                                           AbortPoint::WhileEncoding));

TEST(OrvexaOutput, RefusedEncoderSettingsAreReportedAgainstTheirProfile) {
  TempDir dir;
  GeneratedProfile refused{"Broken", 96, 80, 25, 128, 0};
  refused.audioKbps = 500;  // far beyond what Vorbis manages for 8 kHz mono
  refused.sampleRate = 8000;
  refused.channels = 1;
  GeneratedEncode encode(ShortClip(), {{"Fine", 96, 80, 25, 128, 40}, refused}, dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(encode.Run()) << "a failed encoder held the output up";
  EXPECT_FALSE(encode.Output().Succeeded());
  const auto failures = encode.Output().GetFailures();
  ASSERT_FALSE(failures.empty());
  EXPECT_EQ(failures[0].profile, "Broken");
  EXPECT_FALSE(failures[0].reason.empty());
  EXPECT_TRUE(dir.Entries().empty()) << "a failed run left a file";
}

TEST(OrvexaOutput, UnwritableOutputFileFailsWithoutLeavingTemporaryFiles) {
  TempDir dir;
  GeneratedEncode encode(ShortClip(), {{"A", 96, 80, 25, 128, 40}}, dir.File("missing/out.orx"), dir.Path());
  EXPECT_NE(encode.Refusal().find("missing"), std::string::npos) << encode.Refusal();
  ASSERT_TRUE(encode.Run());
  EXPECT_EQ(encode.Session().Result().status, EncodeResult::kFailed);
  EXPECT_FALSE(encode.Output().Succeeded());
  EXPECT_TRUE(dir.Entries().empty());

  // Without the session's check, the output itself refuses before decoding.
  OrvexaOutput output(nullptr, dir.File("missing/out.orx").c_str());
  std::string reason;
  EXPECT_FALSE(output.Open(&reason));
  EXPECT_NE(reason.find("missing"), std::string::npos) << reason;
}

// The container replaces the output only once complete: a run that fails or
// is cancelled leaves an older output exactly as it was.
TEST(OrvexaOutput, AFailedOrCancelledRunKeepsTheOlderOutput) {
  TempDir dir;
  const std::string out = dir.File("out.orx");
  {
    GeneratedEncode good(ShortClip(), {{"A", 96, 80, 25, 128, 40}}, out, dir.Path());
    ASSERT_TRUE(good.Run());
    ASSERT_TRUE(good.Output().Succeeded()) << good.Output().GetFailureText();
  }
  const std::vector<unsigned char> before = ReadWholeFileBytes(out);
  ASSERT_FALSE(before.empty());

  GeneratedProfile refused{"Broken", 96, 80, 25, 128, 500};
  refused.sampleRate = 8000;
  refused.channels = 1;
  {
    GeneratedEncode failing(ShortClip(), {refused}, out, dir.Path());
    ASSERT_TRUE(failing.Run());
    EXPECT_FALSE(failing.Output().Succeeded());
  }
  {
    GeneratedMedia endless = ShortClip(30.0);
    endless.stallAfterFrames = 5;
    GeneratedEncode cancelled(endless, {{"A", 96, 80, 25, 128, 40}}, out, dir.Path());
    cancelled.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancelled.Session().Cancel();
    ASSERT_TRUE(cancelled.WaitFinished(30.0));
    EXPECT_EQ(cancelled.Session().Result().status, EncodeResult::kCancelled);
  }
  EXPECT_EQ(ReadWholeFileBytes(out), before);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
}

// The publish gate has the last word on a complete container: while it waits
// the older output stays byte for byte and the run is not finished; true puts
// the container in place, false (or an Abort while it waits) throws it away
// as a cancel.
TEST(OrvexaOutput, ThePublishGateDecidesWhetherACompleteContainerGoesInPlace) {
  enum class Answer { kPublish, kDiscard, kAbortWhileWaiting };
  struct Case {
    const char* what;
    Answer answer;
  };
  const std::vector<Case> cases = {
      {"publish", Answer::kPublish}, {"discard", Answer::kDiscard}, {"abort", Answer::kAbortWhileWaiting}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string out = dir.File("out.orx");
    WriteWholeFile(out, "older output");
    GeneratedEncode encode(ShortClip(), {{"A", 96, 80, 25, 128, 40}}, out, dir.Path());
    std::mutex mutex;
    std::condition_variable answered;
    bool waiting = false, released = false;
    int calls = 0;
    encode.Output().SetPublishGate([&] {
      std::unique_lock<std::mutex> lock(mutex);
      ++calls;
      waiting = true;
      answered.wait(lock, [&] { return released; });
      return c.answer != Answer::kDiscard;  // an Abort overrides a yes
    });
    encode.Start();
    ASSERT_TRUE(PollUntil(
        [&] {
          std::lock_guard<std::mutex> lock(mutex);
          return waiting;
        },
        60.0))
        << "the gate was never asked";
    EXPECT_FALSE(encode.Output().GetFinishedEvent().Wait(0)) << "finished before the gate answered";
    EXPECT_EQ(ReadWholeFile(out), "older output");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
    if (c.answer == Answer::kAbortWhileWaiting) encode.Output().Abort(true);
    {
      std::lock_guard<std::mutex> lock(mutex);
      released = true;
    }
    answered.notify_all();
    ASSERT_TRUE(encode.WaitFinished(30.0));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"}) << "a file was left beside the output";
    if (c.answer == Answer::kPublish) {
      EXPECT_TRUE(encode.Output().Succeeded()) << encode.Output().GetFailureText();
      const OrvexaContainer container = ReadOrvexaContainerFile(out);
      EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
    } else {
      EXPECT_FALSE(encode.Output().Succeeded());
      EXPECT_NE(encode.Output().GetFailureText().find("cancelled"), std::string::npos);
      EXPECT_EQ(ReadWholeFile(out), "older output");
    }
  }
}

// Only a complete container is put before the gate: a run that failed or was
// aborted never asks it.
TEST(OrvexaOutput, ThePublishGateIsNotAskedAfterAFailureOrAnAbort) {
  TempDir dir;
  GeneratedProfile refused{"Broken", 96, 80, 25, 128, 500};
  refused.sampleRate = 8000;
  refused.channels = 1;
  std::atomic<int> calls{0};
  {
    GeneratedEncode failing(ShortClip(), {refused}, dir.File("out.orx"), dir.Path());
    failing.Output().SetPublishGate([&] { return ++calls > 0; });
    ASSERT_TRUE(failing.Run());
    EXPECT_FALSE(failing.Output().Succeeded());
  }
  {
    GeneratedEncode aborted(ShortClip(), {{"A", 96, 80, 25, 128, 40}}, dir.File("out.orx"), dir.Path());
    aborted.Output().SetPublishGate([&] { return ++calls > 0; });
    aborted.Output().Abort(true);
    ASSERT_TRUE(aborted.Run());
    EXPECT_FALSE(aborted.Output().Succeeded());
  }
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(dir.Entries().empty());
}
