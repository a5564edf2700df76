// The encode session as the window, the harness and the end-to-end tests
// drive it: what Prepare refuses before anything is opened or created, the
// outcome of runs that succeed, fail or are cancelled at any moment, and
// that nothing of a run that did not succeed is left behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "EncodeSession.h"
#include "GeneratedEncode.h"
#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "SourceProbe.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "keFactory.h"

namespace {

constexpr uint32_t kWorkerDeadlineMs = 120000;

// A 2 s source with the factory rows, ADSL1 selected, writing into `dir`.
EncodeFields FieldsFor(const std::string& input, const TempDir& dir) {
  EncodeFields fields;
  fields.inputPath = input;
  fields.outputPath = dir.File("out.orx");
  fields.tempDir = dir.Path();
  fields.rows = FactoryStreamProfileRows();
  fields.sourceWidth = 160;
  fields.sourceHeight = 120;
  return fields;
}

}  // namespace

// Every refusal names the value at fault and happens before anything is
// opened for writing or created: the folder holds what it held, the source
// and an older output are untouched, and no worker has a result.
TEST(EncodeSession, PrepareRefusesWhatCannotBeEncodedBeforeTouchingAnything) {
  const std::string media = TestMedia::Path("av.mp4");
  ASSERT_FALSE(media.empty());
  TempDir dir;
  const std::string input = dir.File("in.mp4");
  ASSERT_TRUE(WriteWholeFile(input, ReadWholeFile(media)));
  ASSERT_EQ(symlink(input.c_str(), dir.File("link.mp4").c_str()), 0);
  ASSERT_EQ(link(input.c_str(), dir.File("hard.mp4").c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(dir.File("out.orx"), "older output"));
  ASSERT_TRUE(WriteWholeFile(dir.File("plain.txt"), "a file, not a folder"));
  const std::string source = ReadWholeFile(input);

  struct Case {
    const char* what;
    void (*change)(EncodeFields&, const TempDir&);
    const char* named;  ///< a text the reason must contain
  };
  const std::vector<Case> cases = {
      {"no selected row", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnEncode] = ""; }, "No stream profile"},
      {"output is the source", [](EncodeFields& f, const TempDir&) { f.outputPath = f.inputPath; }, "in.mp4"},
      {"another spelling", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.Path() + "/./in.mp4"; },
       "/./in.mp4"},
      {"a symbolic link", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File("link.mp4"); }, "link.mp4"},
      {"a hard link", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File("hard.mp4"); }, "hard.mp4"},
      {"missing output folder", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File("none/out.orx"); },
       "none"},
      {"output folder is a file", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File("plain.txt/out.orx"); },
       "plain.txt"},
      {"unwritable output folder", [](EncodeFields& f, const TempDir&) { f.outputPath = "/proc/out.orx"; }, "/proc"},
      {"missing temporary folder", [](EncodeFields& f, const TempDir& d) { f.tempDir = d.File("gone"); }, "gone"},
      {"unwritable temporary folder", [](EncodeFields& f, const TempDir&) { f.tempDir = "/proc"; }, "/proc"},
      {"no picture", [](EncodeFields& f, const TempDir&) { f.sourceWidth = 0; }, "no picture"},
      {"start past the end", [](EncodeFields& f, const TempDir&) { f.startSeconds = "10"; }, "10.00 s"},
      {"end before start",
       [](EncodeFields& f, const TempDir&) {
         f.startSeconds = "1.5";
         f.endSeconds = "1";
       },
       "\"1\""},
      {"empty range",
       [](EncodeFields& f, const TempDir&) {
         f.startSeconds = "1.5";
         f.endSeconds = "1.5";
       },
       "\"1.5\""},
      {"negative end", [](EncodeFields& f, const TempDir&) { f.endSeconds = "-2"; }, "\"-2\""},
      {"start not a number", [](EncodeFields& f, const TempDir&) { f.startSeconds = "abc"; }, "\"abc\""},
      {"crop not a number", [](EncodeFields& f, const TempDir&) { f.cropLeft = "-4"; }, "\"-4\""},
      {"crops leave no picture", [](EncodeFields& f, const TempDir&) { f.cropTop = "120"; }, "no picture"},
      {"video at 0 kbit/s", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnVideoBitrate] = "0"; }, "\"0\""},
      {"audio Vorbis refuses", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnAudioBitrate] = "1"; }, "\"1\""},
      {"width not a number", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnWidth] = "wide"; },
       "Row 3 \"ADSL1\": the width \"wide\""},
      {"frame rate 0", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnFrameRate] = "0"; },
       "Row 3 \"ADSL1\": the frame rate \"0\""},
      {"frame rate empty", [](EncodeFields& f, const TempDir&) { f.rows[2][kColumnFrameRate] = ""; },
       "Row 3 \"ADSL1\": the frame rate \"\""},
      {"empty row ticked", [](EncodeFields& f, const TempDir&) { f.rows[6][kColumnEncode] = "1"; },
       "Row 7 is ticked for encoding but has no name"},
      {"a row without a bitrate",
       [](EncodeFields& f, const TempDir&) { f.rows[6] = {"1", "Half", "0", "0", "25", "", "40"}; },
       "Row 7 \"Half\": the video bitrate \"\""},
      {"output all extension", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File(".orx"); },
       "\".orx\" has no name before its extension: name the file, e.g. mymedia.orx."},
      {"all extension, the IIS one", [](EncodeFields& f, const TempDir& d) { f.outputPath = d.File(".jpg"); },
       "\".jpg\" has no name before its extension: name the file, e.g. mymedia.jpg."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EncodeFields fields = FieldsFor(input, dir);
    c.change(fields, dir);
    const std::vector<std::string> before = dir.Entries();
    std::string reason;
    {
      EncodeSession session;
      const CheckOutcome prepared = session.Prepare(fields);
      EXPECT_FALSE(prepared.Passed());
      reason = prepared.refusal;
      EXPECT_EQ(session.Result().status, EncodeResult::kNotRun);
      session.Cancel();  // harmless on a refused session
    }
    EXPECT_NE(reason.find(c.named), std::string::npos) << reason;
    EXPECT_EQ(dir.Entries(), before);
    EXPECT_EQ(ReadWholeFile(input), source);
    EXPECT_EQ(ReadWholeFile(dir.File("out.orx")), "older output");
  }
}

TEST(EncodeSession, ARunReplacesTheOutputWithACompleteContainerAndLeavesNothingElse) {
  TempDir dir;
  ASSERT_TRUE(WriteWholeFile(dir.File("out.orx"), "older output"));
  EncodeFields fields = FieldsFor(TestMedia::Path("av.mp4"), dir);
  fields.endSeconds = "10";  // beyond the source: cut to its 2 s
  EncodeSession session;
  const CheckOutcome prepared = session.Prepare(fields);
  ASSERT_TRUE(prepared.Passed()) << prepared.refusal;
  EXPECT_EQ(ReadWholeFile(dir.File("out.orx")), "older output") << "the set-up touched the output";
  // The caller's own thread, as the window's wxThread.
  std::thread worker([&session] { session.RunWorker(); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWorkerDeadlineMs);
  int percent = 0;
  while (percent < 100 && !session.IsOutputFinished()) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the polling loop never ended";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    percent = session.FirstProfilePercent();
  }
  ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs));
  worker.join();
  const EncodeResult result = session.Result();
  ASSERT_EQ(result.status, EncodeResult::kSucceeded) << result.reason;
  EXPECT_TRUE(result.reason.empty());
  EXPECT_EQ(session.FirstProfilePercent(), 100);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
  EXPECT_GT(ReadWholeFile(dir.File("out.orx")).size(), 524288u);
}

// Cancel from the caller's thread at many moments of a run, the worker on a
// thread of the caller's, the session sometimes destroyed right after the
// cancel: no use after free (ASan), no race (TSan), no hang, and a cancelled
// run leaves neither an output nor a temporary file.
TEST(EncodeSession, CancelAtAnyMomentIsSafeAndLeavesNothing) {
  const std::string media = TestMedia::Path("av.mp4");
  for (int delayMs : {-1, 0, 1, 3, 10, 30, 60, 120, 250, 500}) {
    for (bool destroyAtOnce : {false, true}) {
      SCOPED_TRACE("cancel after " + std::to_string(delayMs) + " ms" + (destroyAtOnce ? ", destroyed at once" : ""));
      TempDir dir;
      EncodeFields fields = FieldsFor(media, dir);
      for (int row = 0; row < 5; ++row) fields.rows[row][kColumnEncode] = "1";
      std::thread worker;
      EncodeResult result;
      {
        EncodeSession session;
        const CheckOutcome prepared = session.Prepare(fields);
        ASSERT_TRUE(prepared.Passed()) << prepared.refusal;
        if (delayMs < 0) session.Cancel();  // before the worker exists
        session.ExpectWorker();
        worker = std::thread([&session] { session.RunWorker(); });
        if (delayMs >= 0) {
          std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
          session.Cancel();
          session.Cancel();  // twice is harmless
        }
        if (!destroyAtOnce) {
          ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs)) << "a cancelled run never ended";
          result = session.Result();
        }
        // The destructor waits for the worker before anything goes.
        if (destroyAtOnce) worker.detach();
      }
      if (worker.joinable()) worker.join();
      if (destroyAtOnce) continue;
      if (result.status == EncodeResult::kSucceeded) {
        // Too late to cancel: then the container must be whole, never one
        // cut short by the cancel's end of the streams.
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
        const OrvexaContainer container = ReadOrvexaContainerFile(dir.File("out.orx"));
        ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
        for (const OrvexaContent* content : container.AudioVideoContents()) {
          const OggDecodeResult decoded = DecodeOggBytes(content->oggBytes);
          const DecodedOggStream* audio = decoded.Stream("audio");
          ASSERT_TRUE(audio != nullptr) << decoded.errorText;
          EXPECT_NEAR(audio->durationSeconds, 2.0, 0.15) << content->Property("content-name");
        }
      } else {
        EXPECT_EQ(result.status, EncodeResult::kCancelled) << result.reason;
        EXPECT_TRUE(dir.Entries().empty()) << "a cancelled run left a file";
      }
    }
  }
}

// Broken sources pass the checks (the window's probe turns them away; forced
// through, the engine must still fail cleanly) and fail with the engine's
// reason, leaving nothing.
TEST(EncodeSession, EngineFailuresGiveTheReasonAndLeaveNothing) {
  for (const char* file : {"noaudiocodec.avi", "novideocodec.avi", "truncated.avi", "random.mpg"}) {
    SCOPED_TRACE(file);
    TempDir dir;
    EncodeSession session;
    const CheckOutcome prepared = session.Prepare(FieldsFor(TestMedia::Path(file), dir));
    if (!prepared.Passed()) {
      continue;
    }
    session.StartWorkerThread();
    ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs)) << "a broken source hung the run";
    const EncodeResult result = session.Result();
    if (result.status == EncodeResult::kSucceeded) {
      // What could be decoded of a truncated file makes a sound container.
      EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
      continue;
    }
    EXPECT_EQ(result.status, EncodeResult::kFailed);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(dir.Entries().empty()) << "a failed run left a file";
  }
}

TEST(EncodeSession, AnOutputFolderGoneBeforeTheRunFailsBeforeDecoding) {
  TempDir dir;
  const std::string folder = dir.File("out");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  EncodeFields fields = FieldsFor(TestMedia::Path("av.mp4"), dir);
  fields.outputPath = folder + "/out.orx";
  EncodeSession session;
  const CheckOutcome prepared = session.Prepare(fields);
  ASSERT_TRUE(prepared.Passed()) << prepared.refusal;
  ASSERT_EQ(rmdir(folder.c_str()), 0);
  session.StartWorkerThread();
  ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs));
  const EncodeResult result = session.Result();
  EXPECT_EQ(result.status, EncodeResult::kFailed);
  EXPECT_NE(result.reason.find("out.orx"), std::string::npos) << result.reason;
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(EncodeSession, AnUnwritableTemporaryFolderIsAFailureOfTheRun) {
  TempDir dir;
  GeneratedEncode encode(GeneratedMedia{}, {{"A", 96, 80, 25, 128, 40}}, dir.File("out.orx"), dir.File("gone"));
  EXPECT_NE(encode.Refusal().find("gone"), std::string::npos) << encode.Refusal();
  ASSERT_TRUE(encode.Run());
  const EncodeResult result = encode.Session().Result();
  EXPECT_EQ(result.status, EncodeResult::kFailed);
  EXPECT_NE(result.reason.find("gone"), std::string::npos) << result.reason;
  EXPECT_TRUE(dir.Entries().empty());
}

// Settings an encoder refuses once it runs: the run fails with the profile's
// name, and a polling loop over the failed first profile still ends.
TEST(EncodeSession, ARefusedFirstProfileFailsTheRunAndEndsThePolling) {
  TempDir dir;
  GeneratedProfile refused{"Broken", 96, 80, 25, 128, 500};
  refused.sampleRate = 8000;
  refused.channels = 1;
  GeneratedMedia media;
  media.seconds = 5.0;
  GeneratedEncode encode(media, {refused, {"Fine", 96, 80, 25, 128, 40}}, dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(encode.Refusal().empty()) << encode.Refusal();
  encode.Start();
  EncodeSession& session = encode.Session();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (session.FirstProfilePercent() < 100 && !session.IsOutputFinished() && !session.IsWorkerDone()) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the polling loop spun on a failed profile";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs));
  const EncodeResult result = session.Result();
  EXPECT_EQ(result.status, EncodeResult::kFailed);
  EXPECT_NE(result.reason.find("Broken"), std::string::npos) << result.reason;
  EXPECT_TRUE(dir.Entries().empty());
}

// A write that fails (here: past the process's file-size limit, as a full
// disk would) stops the run at once with the system's reason, instead of
// encoding the rest of the source first.
TEST(EncodeSession, AFailedWriteStopsTheRunAtOnce) {
  TempDir dir;
  GeneratedMedia media;
  media.width = 320;
  media.height = 240;
  media.seconds = 600.0;  // ten minutes: far longer than the test may take
  GeneratedEncode encode(media, {{"A", 320, 240, 25, 2000, 128}}, dir.File("out.orx"), dir.Path());
  ASSERT_TRUE(encode.Refusal().empty()) << encode.Refusal();

  std::signal(SIGXFSZ, SIG_IGN);  // a refused write, not the end of the process
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limited = old;
  limited.rlim_cur = 256 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool done = encode.Run();
  setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_TRUE(done) << "the run went on after a write failed";
  const EncodeResult result = encode.Session().Result();
  EXPECT_EQ(result.status, EncodeResult::kFailed);
  EXPECT_NE(result.reason.find("File too large"), std::string::npos) << result.reason;
  EXPECT_LT(encode.Source().FramesDelivered(), static_cast<int64_t>(media.seconds * media.fps / 2));
  EXPECT_TRUE(dir.Entries().empty());
}
