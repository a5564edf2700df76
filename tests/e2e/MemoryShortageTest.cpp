// Memory that runs short at any one of the engine's own allocations, from the
// set-up to the last byte written: the run either holds every picture and
// every sample of the source or fails saying that memory ran short, keeping
// the older output and leaving nothing beside it. Never a crash, never a
// success short of data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EncodeRunner.h"
#include "OrvexaContainerReader.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "TheoraDecode.h"
#include "keAlloc.h"

namespace {

/// What a complete container of the run must hold whichever allocation
/// failed: its profiles' properties (but the random keys), where every
/// stream ends and the pictures libtheora decodes.
std::vector<std::string> Summary(const std::string& path) {
  const OrvexaContainer container = ReadOrvexaContainerFile(path);
  std::vector<std::string> summary = container.errors;
  for (const OrvexaContent* content : container.AudioVideoContents()) {
    for (const auto& [key, value] : content->properties)
      if (key != "encryption-key") summary.push_back(key + "=" + value);
    for (const auto& [serial, stream] : content->streams)
      summary.push_back(stream.codec + " ends at " + std::to_string(stream.lastGranulePos));
    const TheoraDecodeResult pictures = DecodeTheoraWithLibtheora(content->oggBytes);
    summary.push_back(std::to_string(pictures.frames) + " pictures, " + std::to_string(pictures.errors) + " refused");
  }
  return summary;
}

/// The run with the `n`th allocation failing (a set-up that finds no memory
/// is refused with that reason). `reached`: the run made that many
/// allocations.
EncodeOutcome RunWithFailingAllocation(const EncodeFields& fields, long n, bool* reached) {
  keFailNthAllocation(n);
  const EncodeOutcome outcome = RunEncode(fields, 120.0);
  *reached = keAllocationsUntilFailure() == 0;
  keFailNthAllocation(0);
  return outcome;
}

}  // namespace

TEST(MemoryShortage, AnyAllocationThatFailsFailsTheRunOrCostsNothing) {
  TempDir dir;
  const std::string output = dir.File("o.osq");
  EncodeFields fields = AllFactoryProfiles(TestMedia::Path("av.mp4"), output, dir.Path());
  for (int row = 0; row < 5; ++row) fields.rows[row][kColumnEncode] = row == 2 ? "1" : "0";  // ADSL1
  fields.endSeconds = "1";
  ASSERT_TRUE(ProbeInto(fields));
  const EncodeOutcome reference = RunEncode(fields);
  ASSERT_TRUE(reference.succeeded) << reference.failureText;
  const std::vector<std::string> complete = Summary(output);

  int failed = 0;
  for (long n = 1;; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
    ASSERT_TRUE(WriteWholeFile(output, "older output"));
    bool reached = false;
    const EncodeOutcome outcome = RunWithFailingAllocation(fields, n, &reached);
    ASSERT_TRUE(outcome.finished);
    if (outcome.succeeded) {
      EXPECT_EQ(Summary(output), complete);
    } else {
      ++failed;
      EXPECT_NE(outcome.failureText.find("memory"), std::string::npos) << outcome.failureText;
      EXPECT_EQ(ReadWholeFile(output), "older output");
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
    if (!reached) break;  // the run made fewer allocations: all were tried
    ASSERT_LT(n, 500) << "the allocations never end";
  }
  // The picture and sound buffers among them: a shortage there cannot pass.
  EXPECT_GT(failed, 0);
}
