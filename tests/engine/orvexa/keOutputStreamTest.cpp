// File, temporary, counting and crx-encrypting output streams.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include <cstring>
#include <string>
#include <vector>

#include "MemoryOutputStream.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "orvexa/keByteCountOutputStream.h"
#include "orvexa/keCryptedCrxOutputStream.h"
#include "orvexa/keFileOutputStream.h"

namespace {

std::vector<uint8_t> Counting(int n) {
  std::vector<uint8_t> bytes(n);
  for (int i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}

// The key text decodes to bytes d0..d7; the stream stores them reversed, so
// byte k of the content is XORed with d[7 - (k mod 8)].
constexpr char kKey[] = "0123456789abcdef";
const uint8_t kDecoded[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};

TEST(keCryptedCrxOutputStream, XorsWithTheReversedKeyAcrossWrites) {
  std::vector<uint8_t> plain = Counting(8);
  MemoryOutputStream whole, split;
  keOutputStream* a = keCreateCrxStream(0, kKey, 16, &whole);
  keOutputStream* b = keCreateCrxStream(0, kKey, 16, &split);
  a->Write(plain.data(), 8);
  b->Write(plain.data(), 3);
  b->Write(plain.data() + 3, 5);
  EXPECT_EQ(whole.bytes, split.bytes);
  ASSERT_EQ(whole.bytes.size(), 8u);
  EXPECT_EQ(whole.bytes[0], plain[0] ^ 0xef) << "first byte uses the key text's last two characters";
  for (int k = 0; k < 8; ++k) EXPECT_EQ(whole.bytes[k], plain[k] ^ kDecoded[7 - k]) << k;
  delete a;
  delete b;
}

TEST(keCryptedCrxOutputStream, PassesChunksOfAtMost1024AndSharesTheInnerState) {
  MemoryOutputStream inner;
  keOutputStream* crx = keCreateCrxStream(0, kKey, 16, &inner);
  std::vector<uint8_t> plain = Counting(2500);
  crx->Write(plain.data(), 2500);
  crx->Write(plain.data(), 0);
  EXPECT_EQ(inner.writeSizes, (std::vector<int32_t>{1024, 1024, 452}));
  for (size_t k = 0; k < plain.size(); ++k) ASSERT_EQ(inner.bytes[k], plain[k] ^ kDecoded[7 - k % 8]) << k;
  EXPECT_EQ(crx->GetBytesWritten(), 2500);
  EXPECT_FALSE(crx->IsClosed());
  crx->Close();
  EXPECT_TRUE(inner.IsClosed());
  EXPECT_TRUE(crx->IsClosed());
  crx->WaitClosed();
  delete crx;
  EXPECT_EQ(keCreateCrxStream(1, kKey, 16, &inner), nullptr);
}

TEST(keFileOutputStream, PadsToHeaderSizePlusHalfAMebibyteInWholeBlocks) {
  struct Case {
    int written;
    uint32_t headerSize;
    int64_t expectedSize;
  };
  const std::vector<Case> cases = {
      {600, 1000, 600 + 513 * 1024},   // ceil((1000 - 600 + 524288) / 1024) blocks
      {600000, 1000, 600000},          // already long enough: nothing appended
      {0, 71, 513 * 1024},             // 524359 missing bytes round up to 513 blocks
      {524288 + 71, 71, 524288 + 71},  // exactly long enough
  };
  TempDir dir;
  for (const auto& c : cases) {
    std::string path = dir.File("padded.bin");
    keFileOutputStream out(path.c_str());
    std::vector<uint8_t> data(c.written, 0xAA);
    out.Write(data.data(), c.written);
    out.Pad(c.headerSize);
    out.Close();
    std::vector<unsigned char> file = ReadWholeFileBytes(path);
    EXPECT_EQ(static_cast<int64_t>(file.size()), c.expectedSize) << c.written;
    EXPECT_EQ(out.GetBytesWritten(), c.expectedSize) << c.written;
    for (size_t i = c.written; i < file.size(); ++i) ASSERT_EQ(file[i], 0) << i;
  }
}

TEST(keFileOutputStream, ClosesOnceAndWakesWaiters) {
  TempDir dir;
  keFileOutputStream out(dir.File("a.bin").c_str());
  const uint8_t bytes[3] = {1, 2, 3};
  out.Write(bytes, 3);
  out.Close();
  out.Close();
  out.WaitClosed();
  EXPECT_TRUE(out.IsClosed());
  EXPECT_FALSE(out.HasFailed());
  EXPECT_EQ(ReadWholeFileBytes(dir.File("a.bin")), (std::vector<unsigned char>{1, 2, 3}));
}

TEST(keFileOutputStream, UnopenableFilesFailLoudlyInsteadOfWritingNowhere) {
  TempDir dir;
  const uint8_t bytes[4] = {1, 2, 3, 4};

  keFileOutputStream missingDir((dir.Path() + "/no/such/dir/out.orv").c_str());
  missingDir.Write(bytes, 4);
  missingDir.Pad(100);
  missingDir.Close();
  EXPECT_TRUE(missingDir.HasFailed());
  EXPECT_NE(missingDir.GetFailureReason().find("no/such/dir"), std::string::npos);
  EXPECT_EQ(missingDir.GetBytesWritten(), 0);
  EXPECT_TRUE(missingDir.IsClosed());  // waiters still wake

  keFileOutputStream missingTemp((dir.Path() + "/absent").c_str(), true);
  EXPECT_TRUE(missingTemp.HasFailed());
  missingTemp.Write(bytes, 4);
  missingTemp.Close();

  // The failure travels through the crx stream to whoever owns the content.
  keCryptedCrxOutputStream crx(&missingTemp);
  crx.SetKey(kKey, 16);
  EXPECT_TRUE(crx.HasFailed());
}

TEST(keFileOutputStream, ShortWritesAreDetected) {
  // /dev/full accepts the open and refuses every byte.
  keFileOutputStream full("/dev/full");
  ASSERT_TRUE(full.IsOpen());
  std::vector<uint8_t> data(8192, 1);
  full.Write(data.data(), 8192);
  full.Close();
  EXPECT_TRUE(full.HasFailed());
  EXPECT_LT(full.GetBytesWritten(), 8192);
}

// Temporary files have no name: nothing of them can outlive the process,
// whatever ends it. Their data are read back after Close.
TEST(keFileOutputStream, TemporaryFilesHaveNoNameAndReadBackWhatWasWritten) {
  TempDir dir;
  keFileOutputStream a(dir.Path().c_str(), true);
  keFileOutputStream b(dir.Path().c_str(), true);
  ASSERT_FALSE(a.HasFailed()) << a.GetFailureReason();
  EXPECT_TRUE(dir.Entries().empty());
  const uint8_t bytes[5] = {1, 2, 3, 4, 5};
  a.Write(bytes, 5);
  b.Write(bytes, 2);
  a.Close();
  b.Close();
  std::vector<uint8_t> back;
  ASSERT_TRUE(a.ReadBack(
      [&](const uint8_t* data, size_t size) {
        back.insert(back.end(), data, data + size);
        return true;
      },
      nullptr));
  EXPECT_EQ(back, std::vector<uint8_t>(bytes, bytes + 5));
  EXPECT_TRUE(dir.Entries().empty());

  keFileOutputStream none(dir.Path().c_str(), false);
  EXPECT_STREQ(none.GetPath(), "");
  EXPECT_TRUE(dir.Entries().empty());
}

TEST(keFileOutputStream, AStagedFileAppearsOnlyWhenPublished) {
  TempDir dir;
  const std::string out = dir.File("out.orx");
  {
    FILE* old = std::fopen(out.c_str(), "wb");
    std::fputs("older", old);
    std::fclose(old);
  }
  const uint8_t bytes[3] = {7, 8, 9};
  {
    std::unique_ptr<keFileOutputStream> discarded(keFileOutputStream::Staged(out.c_str()));
    ASSERT_TRUE(discarded->Open());
    discarded->Write(bytes, 3);
    discarded->Close();
  }
  EXPECT_EQ(ReadWholeFileBytes(out), (std::vector<unsigned char>{'o', 'l', 'd', 'e', 'r'}));
  std::unique_ptr<keFileOutputStream> published(keFileOutputStream::Staged(out.c_str()));
  ASSERT_TRUE(published->Open());
  published->Write(bytes, 3);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});
  ASSERT_TRUE(published->Publish()) << published->GetFailureReason();
  EXPECT_EQ(ReadWholeFileBytes(out), (std::vector<unsigned char>{7, 8, 9}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.orx"});

  std::unique_ptr<keFileOutputStream> nowhere(keFileOutputStream::Staged(dir.File("no/such/out.orx").c_str()));
  EXPECT_FALSE(nowhere->Open());
  EXPECT_NE(nowhere->GetFailureReason().find("no/such"), std::string::npos);
}

// Written through a link into the file it leads to (a dangling link's
// target is created), under a name as long as the file system takes; a
// device, a pipe or a folder is never replaced.
TEST(keFileOutputStream, AStagedFileReplacesOnlyWhatItMay) {
  TempDir dir;
  ASSERT_EQ(symlink("target.orx", dir.File("link.orx").c_str()), 0);
  ASSERT_EQ(mkfifo(dir.File("pipe.orx").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("null.orx").c_str()), 0);
  const uint8_t bytes[3] = {7, 8, 9};
  const std::string longest = dir.File(std::string(251, 'n') + ".orx");
  for (const std::string& path : {dir.File("link.orx"), longest}) {
    SCOPED_TRACE(path);
    std::unique_ptr<keFileOutputStream> out(keFileOutputStream::Staged(path.c_str()));
    ASSERT_TRUE(out->Open()) << out->GetFailureReason();
    out->Write(bytes, 3);
    ASSERT_TRUE(out->Publish()) << out->GetFailureReason();
    EXPECT_EQ(ReadWholeFileBytes(path), (std::vector<unsigned char>{7, 8, 9}));
  }
  struct stat link {};
  ASSERT_EQ(lstat(dir.File("link.orx").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode)) << "the link was replaced by a file";
  EXPECT_EQ(ReadWholeFileBytes(dir.File("target.orx")), (std::vector<unsigned char>{7, 8, 9}));

  for (const char* name : {"pipe.orx", "null.orx"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<keFileOutputStream> out(keFileOutputStream::Staged(dir.File(name).c_str()));
    EXPECT_FALSE(out->Open());
    EXPECT_NE(out->GetFailureReason().find("not a regular file"), std::string::npos) << out->GetFailureReason();
  }
  struct stat pipe {};
  ASSERT_EQ(lstat(dir.File("pipe.orx").c_str(), &pipe), 0);
  EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
  struct stat null {};
  ASSERT_EQ(stat("/dev/null", &null), 0);
  EXPECT_TRUE(S_ISCHR(null.st_mode));
}

TEST(keByteCountOutputStream, CountsWithoutStoring) {
  keByteCountOutputStream counter;
  uint8_t bytes[10] = {};
  counter.Write(bytes, 10);
  counter.Write(bytes, 0);
  counter.Pad(1000);
  EXPECT_EQ(counter.GetBytesWritten(), 10);
  counter.Close();
  EXPECT_TRUE(counter.IsClosed());
}

}  // namespace
