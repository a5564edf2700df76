// The hold the window puts on a run while "Cancel encoding ?" is open, through
// the encode session alone on a real source: the run finishes encoding, its
// complete container waits and the older output stays byte for byte; a cancel
// then throws the container away, a release puts it in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EncodeRunner.h"
#include "EncodeSession.h"
#include "OggDecodeCheck.h"
#include "OrvexaContainerReader.h"
#include "PollUntil.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"

namespace {

constexpr uint32_t kWorkerDeadlineMs = 120000;

enum class Answer { kYes, kNo, kSessionDestroyed };

}  // namespace

TEST(EncodeSessionHold, TheContainerWaitsOnTheHoldAndTheAnswerDecides) {
  const std::string source = TestMedia::Path("av.mp4");
  ASSERT_FALSE(source.empty());
  const std::string sourceBytes = ReadWholeFile(source);
  struct Case {
    const char* what;
    Answer answer;
  };
  const std::vector<Case> cases = {{"Yes: cancelled", Answer::kYes},
                                   {"No: in place", Answer::kNo},
                                   {"closed while held", Answer::kSessionDestroyed}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir out;
    TempDir temp;
    ASSERT_TRUE(WriteWholeFile(out.File("clip.osq"), "older output"));
    EncodeFields fields = AllFactoryProfiles(source, out.File("clip.osq"), temp.Path());
    ASSERT_TRUE(ProbeInto(fields));
    EncodeResult result;
    {
      EncodeSession session;
      ASSERT_TRUE(session.Prepare(fields).Passed());
      // The question opens early: the whole encode runs under the hold.
      ASSERT_TRUE(session.HoldFinish());
      session.StartWorkerThread();
      ASSERT_TRUE(PollUntil([&] { return session.IsContainerWaiting(); }, 120.0)) << "the run never finished encoding";
      EXPECT_EQ(session.FirstProfilePercent(), 100);
      EXPECT_FALSE(session.IsOutputFinished());
      EXPECT_FALSE(session.IsWorkerDone());
      EXPECT_EQ(ReadWholeFile(out.File("clip.osq")), "older output");
      EXPECT_EQ(out.Entries(), std::vector<std::string>{"clip.osq"});
      EXPECT_TRUE(temp.Entries().empty());
      if (c.answer == Answer::kSessionDestroyed) continue;  // its destructor cancels and waits
      if (c.answer == Answer::kYes) session.Cancel();
      session.ReleaseFinish();
      ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs));
      result = session.Result();
      EXPECT_FALSE(session.HoldFinish()) << "nothing is left to hold once the worker is done";
    }
    EXPECT_EQ(out.Entries(), std::vector<std::string>{"clip.osq"}) << "a file was left beside the output";
    EXPECT_TRUE(temp.Entries().empty());
    EXPECT_EQ(ReadWholeFile(source), sourceBytes);
    if (c.answer != Answer::kNo) {
      if (c.answer == Answer::kYes) {
        EXPECT_EQ(result.status, EncodeResult::kCancelled) << result.reason;
      }
      EXPECT_EQ(ReadWholeFile(out.File("clip.osq")), "older output");
      continue;
    }
    ASSERT_EQ(result.status, EncodeResult::kSucceeded) << result.reason;
    const OrvexaContainer container = ReadOrvexaContainerFile(out.File("clip.osq"));
    ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
    ASSERT_EQ(container.AudioVideoContents().size(), 5u);
    const OggDecodeResult decoded = DecodeOggBytes(container.AudioVideoContents()[0]->oggBytes);
    EXPECT_FALSE(decoded.decodeErrors) << decoded.errorText;
    EXPECT_TRUE(decoded.Stream("video") && decoded.Stream("audio"));
  }
}

// The hold and the cancel meet the container's one decision: once a released
// container has gone in place, a cancel changes nothing and no hold is taken.
TEST(EncodeSessionHold, ACancelAfterTheContainerWentInPlaceChangesNothing) {
  TempDir out;
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), out.File("clip.osq"), out.Path());
  fields.rows = FactoryStreamProfileRows();  // ADSL1 alone
  ASSERT_TRUE(ProbeInto(fields));
  EncodeSession session;
  ASSERT_TRUE(session.Prepare(fields).Passed());
  session.StartWorkerThread();
  ASSERT_TRUE(session.WaitWorkerDone(kWorkerDeadlineMs));
  EXPECT_FALSE(session.HoldFinish());
  session.Cancel();
  EXPECT_FALSE(session.IsCancelled());
  EXPECT_EQ(session.Result().status, EncodeResult::kSucceeded) << session.Result().reason;
  const OrvexaContainer container = ReadOrvexaContainerFile(out.File("clip.osq"));
  EXPECT_TRUE(container.errors.empty()) << container.ErrorText();
}
