// The encode_file harness as a user runs it: the faults it once had, each now
// a clean refusal or failure with a message that names the value, an exit
// code that means what it says, and never a destroyed or partial file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "OrvexaContainerReader.h"
#include "ScopedFileAttribute.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "TheoraDecode.h"

extern char** environ;

namespace {

struct Finished {
  int exitCode = -1;   ///< 128 + n when ended by signal n
  std::string output;  ///< stdout and stderr together
};

void CopyFile(const std::string& from, const std::string& to) {
  ASSERT_TRUE(WriteWholeFile(to, ReadWholeFile(from))) << to;
}

// Starts encode_file with `args`, its output going to `log`; with `shell`,
// from a shell that first runs those commands ("ulimit -v 300000",
// "trap '' INT", "umask 077", "exec >&-").
pid_t Spawn(const std::vector<std::string>& args, const std::string& log, const std::string& shell = "") {
  std::vector<std::string> all = {ENCODE_FILE_PATH};
  // Descriptors the test runner left open would count against a limit of
  // open files: the harness gets only its standard three.
  if (!shell.empty())
    all = {"/bin/sh", "-c", "exec 3>&- 4>&- 5>&- 6>&- 7>&- 8>&- 9>&-; " + shell + " && exec \"$0\" \"$@\"",
           ENCODE_FILE_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits up to `seconds` for `pid`, killing it when it takes longer.
Finished Reap(pid_t pid, const std::string& log, double seconds = 120.0) {
  Finished finished;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "encode_file did not end in time";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  finished.output = ReadWholeFile(log);
  return finished;
}

Finished RunHarness(const std::vector<std::string>& args, const TempDir& logDir, const std::string& shell = "") {
  const std::string log = logDir.File("log.txt");
  const Finished finished = Reap(Spawn(args, log, shell), log);
  std::remove(log.c_str());
  return finished;
}

}  // namespace

TEST(EncodeFileCommand, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
  TempDir dir, logs;
  const std::string input = dir.File("in.mp4");
  CopyFile(TestMedia::Path("av.mp4"), input);
  ASSERT_EQ(symlink(input.c_str(), dir.File("link.mp4").c_str()), 0);
  ASSERT_EQ(link(input.c_str(), dir.File("hard.mp4").c_str()), 0);
  const std::string before = ReadWholeFile(input);
  for (const std::string& output : {input, dir.Path() + "/./in.mp4", dir.File("link.mp4"), dir.File("hard.mp4")}) {
    SCOPED_TRACE(output);
    const Finished run = RunHarness({"--input", input, "--output", output, "--tmp", dir.Path()}, logs);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("is the source file"), std::string::npos) << run.output;
    EXPECT_EQ(ReadWholeFile(input), before);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"hard.mp4", "in.mp4", "link.mp4"}));
}

TEST(EncodeFileCommand, AFailedRunKeepsTheOlderOutput) {
  TempDir dir, logs;
  const std::string input = TestMedia::Path("av.mp4");
  const std::string output = dir.File("o.osq");
  const Finished good = RunHarness({"--input", input, "--output", output, "--tmp", dir.Path()}, logs);
  ASSERT_EQ(good.exitCode, 0) << good.output;
  const std::string before = ReadWholeFile(output);
  const Finished failed = RunHarness({"--input", input, "--output", output, "--tmp", "/nonexistent"}, logs);
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.output.find("\"/nonexistent\""), std::string::npos) << failed.output;
  EXPECT_EQ(ReadWholeFile(output), before);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
}

// Values that leave nothing to encode or that the encoders cannot honour:
// refused before the encode (exit 1), the value named. Values that are no
// numbers at all: the usage text and exit 2.
TEST(EncodeFileCommand, ImpossibleOrMalformedValuesAreRefusedByName) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* named;
  };
  const std::vector<Case> cases = {
      {{"--start", "10"}, 1, "The start time 10.00 s"},
      {{"--start", "1.5", "--end", "1"}, 1, "\"1\""},
      {{"--start", "1.5", "--end", "1.5"}, 1, "\"1.5\""},
      {{"--profile", "A,160,128,25,0,40"}, 1, "\"0\""},
      {{"--profile", "A,160,128,25,256,1"}, 1, "Vorbis"},
      {{"--crop", "120,0,0,0"}, 1, "no picture"},
      {{"--end", "-2"}, 2, "\"-2\""},
      {{"--start", "-1"}, 2, "\"-1\""},
      {{"--start", "soon"}, 2, "\"soon\""},
      {{"--crop", "1,2,x,4"}, 2, "\"x\""},
      {{"--crop", "1,2,-3,4"}, 2, "\"-3\""},
      {{"--profile", "A,160,128,25,-256,40"}, 2, "\"-256\""},
      {{"--profile", "A,160,tall,25,256,40"}, 2, "\"tall\""},
      {{"--profile", "A,160,128,fast,256,40"}, 2, "\"fast\""},
  };
  const std::string input = TestMedia::Path("av.mp4");
  for (const Case& c : cases) {
    std::string what;
    for (const std::string& arg : c.args) what += arg + " ";
    SCOPED_TRACE(what);
    TempDir dir, logs;
    std::vector<std::string> args = {"--input", input, "--output", dir.File("o.osq"), "--tmp", dir.Path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Finished run = RunHarness(args, logs);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find(c.named), std::string::npos) << run.output;
    if (c.exitCode == 2) {
      EXPECT_NE(run.output.find("usage:"), std::string::npos) << run.output;
    }
    EXPECT_TRUE(dir.Entries().empty());
  }
}

TEST(EncodeFileCommand, AnAudioOnlySourceGetsTheWindowsMessage) {
  TempDir dir, logs;
  const Finished run =
      RunHarness({"--input", TestMedia::Path("audio.mp3"), "--output", dir.File("o.osq"), "--tmp", dir.Path()}, logs);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("has no picture: a source needs video and audio"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Unable to find any audio/video codec."), std::string::npos) << run.output;
  EXPECT_TRUE(dir.Entries().empty());
}

// The container declares the range actually encoded, cut to the source.
TEST(EncodeFileCommand, TheDeclaredDurationIsTheRangeEncoded) {
  TempDir dir, logs;
  const std::string output = dir.File("o.osq");
  const Finished run = RunHarness(
      {"--input", TestMedia::Path("av.mp4"), "--output", output, "--tmp", dir.Path(), "--start", "0.5", "--end", "10"},
      logs);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const OrvexaContainer container = ReadOrvexaContainerFile(output);
  ASSERT_TRUE(container.errors.empty()) << container.ErrorText();
  ASSERT_FALSE(container.AudioVideoContents().empty());
  for (const OrvexaContent* content : container.AudioVideoContents())
    EXPECT_EQ(content->Property("content-duration"), "1500");
}

// SIGINT, SIGTERM, SIGHUP and SIGQUIT cancel the encode as the window's
// Cancel does: nothing of the run is left, neither the output nor a
// temporary file.
TEST(EncodeFileCommand, ASignalCancelsAndLeavesNothing) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    SCOPED_TRACE(strsignal(signal));
    TempDir dir, temp, logs;
    const std::string log = logs.File("log.txt");
    // Large pictures for nine profiles: slow enough to be half-way.
    std::vector<std::string> args = {"--input",  TestMedia::Path("av.mp4"), "--output", dir.File("o.osq"), "--tmp",
                                     temp.Path()};
    for (int p = 0; p < 9; ++p) {
      args.push_back("--profile");
      args.push_back("P" + std::to_string(p) + ",1280,720,25,2000,128");
    }
    const pid_t pid = Spawn(args, log);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ReadWholeFile(log).find("Done") == std::string::npos && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, signal);
    const Finished run = Reap(pid, log);
    EXPECT_EQ(run.exitCode, 128 + signal) << run.output;
    EXPECT_NE(run.output.find("cancelled"), std::string::npos) << run.output;
    EXPECT_TRUE(dir.Entries().empty()) << "the output of a cancelled run is there";
    EXPECT_TRUE(temp.Entries().empty()) << "temporary files left behind";
  }
}

// Under a small limit of open files or of address space the run fails with
// the system's reason (or, with room enough, succeeds): never a crash or an
// abort, never a word about codecs or empty streams, the older output kept
// and nothing left beside it.
TEST(EncodeFileCommand, TightLimitsFailTheRunWithTheSystemsReason) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers need the address space that these limits take away";
#else
  struct Case {
    std::string limit;
    bool mayPass;
    std::vector<const char*> reasons;  ///< one of them is given
  };
  std::vector<Case> cases;
  // From one free descriptor to one short of what the probe, the reader's
  // two streams and the output need.
  for (int files = 4; files <= 9; ++files)
    cases.push_back({"ulimit -n " + std::to_string(files), false, {"Too many open files"}});
  // Enough for ADSL1 once the heaps are kept few; enough even with them
  // (each crashed now and then before). Far below these, libvorbis itself
  // can crash on an allocation it does not check, which no test can hold.
  for (int kib : {350000, 450000})
    cases.push_back({"ulimit -v " + std::to_string(kib),
                     true,
                     {"not enough memory", "Cannot allocate memory", "cannot be started"}});
  const std::string input = TestMedia::Path("av.mp4");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    TempDir dir, logs;
    const std::string output = dir.File("o.osq");
    ASSERT_TRUE(WriteWholeFile(output, "older output"));
    const Finished run = RunHarness({"--input", input, "--output", output, "--tmp", dir.Path()}, logs, c.limit);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
    if (run.exitCode == 0 && c.mayPass) {
      EXPECT_EQ(ReadOrvexaContainerFile(output).errors, std::vector<std::string>{});
      continue;
    }
    EXPECT_EQ(run.exitCode, 1) << run.output;
    bool named = false;
    for (const char* reason : c.reasons) named = named || run.output.find(reason) != std::string::npos;
    EXPECT_TRUE(named) << run.output;
    // The probe's words for a file without a codec, the encoder's for a
    // stream without data, the runtime's for an exception that got away.
    for (const char* misleading : {"codec", "that cannot be decoded", "holds no", "terminate called"})
      EXPECT_EQ(run.output.find(misleading), std::string::npos) << run.output;
    EXPECT_EQ(ReadWholeFile(output), "older output");
  }
#endif
}

// A decoder that runs out of memory is no damage in the source, whatever it
// calls it: H.264 tells a frame it found no room for as damaged data, and a
// 1080p source under these limits once encoded "with 121 damaged packets
// skipped" and exit 0, a quarter of its pictures lost. Now each run holds
// every picture or fails for want of memory.
TEST(EncodeFileCommand, ADecoderShortOfMemoryIsNoDamage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers need the address space that these limits take away";
#else
  TempDir dir, logs;
  const std::string source = dir.File("hd.mp4");
  const std::string make =
      "ffmpeg -hide_banner -nostdin -loglevel error -y -f lavfi -i "
      "testsrc2=size=1920x1080:rate=25:duration=1 -f lavfi -i "
      "sine=frequency=440:sample_rate=44100:duration=1 -c:v libx264 -preset ultrafast "
      "-pix_fmt yuv420p -c:a aac -ac 2 '" +
      source + "'";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const std::string output = dir.File("o.osq");
  const std::vector<std::string> args = {"--input", source, "--output", output, "--tmp", dir.Path()};
  ASSERT_EQ(RunHarness(args, logs).exitCode, 0);
  const int64_t pictures = DecodeTheoraWithLibtheora(ReadOrvexaContainerFile(output).contents.at(0).oggBytes).frames;
  ASSERT_GT(pictures, 0);
  for (const char* limit : {"ulimit -v 280000", "ulimit -v 290000", "ulimit -v 300000"}) {
    SCOPED_TRACE(limit);
    ASSERT_TRUE(WriteWholeFile(output, "older output"));
    const Finished run = RunHarness(args, logs, limit);
    EXPECT_EQ(run.output.find("damaged"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("ends at"), std::string::npos) << run.output;
    if (run.exitCode == 0) {
      const OrvexaContainer container = ReadOrvexaContainerFile(output);
      ASSERT_FALSE(container.AudioVideoContents().empty()) << container.ErrorText();
      EXPECT_EQ(DecodeTheoraWithLibtheora(container.AudioVideoContents().front()->oggBytes).frames, pictures);
      continue;
    }
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(run.output.find("not enough memory") != std::string::npos ||
                run.output.find("cannot be started") != std::string::npos)
        << run.output;
    EXPECT_EQ(ReadWholeFile(output), "older output");
  }
#endif
}

// A caller that started the harness with a signal ignored (nohup's SIGHUP,
// the SIGINT and SIGQUIT of a shell's background job) has it stay ignored:
// the encode goes on to a complete container. Other signals still cancel.
TEST(EncodeFileCommand, SignalsTheCallerIgnoredStayIgnored) {
  struct Case {
    int ignored;
    int sent;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {SIGHUP, SIGHUP, 0},
      {SIGINT, SIGINT, 0},
      {SIGQUIT, SIGQUIT, 0},
      {SIGINT, SIGTERM, 128 + SIGTERM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(strsignal(c.ignored)) + " ignored, " + strsignal(c.sent) + " sent");
    TempDir dir, logs;
    const std::string log = logs.File("log.txt");
    std::vector<std::string> args = {"--input", TestMedia::Path("av.mp4"), "--output", dir.File("o.osq"), "--tmp",
                                     dir.Path()};
    for (const char* profile : {"A,640,480,25,1000,64", "B,640,480,25,800,48"}) {
      args.push_back("--profile");
      args.push_back(profile);
    }
    const pid_t pid = Spawn(args, log, "trap '' " + std::to_string(c.ignored));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ReadWholeFile(log).find("Done") == std::string::npos && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Stopped while it encodes, so that the signal surely comes before the
    // end: a handler would take it once the process goes on.
    kill(pid, SIGSTOP);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WUNTRACED), pid);
    ASSERT_TRUE(WIFSTOPPED(status)) << "the encode ended before the signal: " << ReadWholeFile(log);
    kill(pid, c.sent);
    kill(pid, SIGCONT);
    const Finished run = Reap(pid, log);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    if (c.exitCode == 0) {
      EXPECT_EQ(ReadOrvexaContainerFile(dir.File("o.osq")).errors, std::vector<std::string>{});
    } else {
      EXPECT_TRUE(dir.Entries().empty());
    }
  }
}

// A write past the limit on file sizes (`ulimit -f`) fails the run with its
// reason instead of killing it without a word; the older output stays and
// nothing is left beside it.
TEST(EncodeFileCommand, AWritePastTheFileSizeLimitFailsTheRun) {
  TempDir dir, logs;
  const std::string output = dir.File("o.osq");
  ASSERT_TRUE(WriteWholeFile(output, "older output"));
  // 200 or 400 KiB, whichever unit the shell counts in: more than the first
  // write of the folder checks, less than the container's padded length.
  const Finished run = RunHarness({"--input", TestMedia::Path("av.mp4"), "--output", output, "--tmp", dir.Path()}, logs,
                                  "ulimit -f 400");
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("File too large"), std::string::npos) << run.output;
  EXPECT_EQ(ReadWholeFile(output), "older output");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
}

// Standard descriptors closed at start are no files of the run: the progress
// lines once went into the temporary file that took descriptor 1.
TEST(EncodeFileCommand, StandardDescriptorsClosedAtStartAreKeptApart) {
  for (const char* closing : {"exec >&-", "exec 2>&-", "exec <&- >&- 2>&-"}) {
    SCOPED_TRACE(closing);
    TempDir dir, logs;
    const Finished run = RunHarness(
        {"--input", TestMedia::Path("av.mp4"), "--output", dir.File("o.osq"), "--tmp", dir.Path()}, logs, closing);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(ReadOrvexaContainerFile(dir.File("o.osq")).errors, std::vector<std::string>{});
  }
}

// Replacing an output keeps who may read it (and, for the superuser, whose
// it is); a new output gets the mode the caller's umask gives.
TEST(EncodeFileCommand, AnOutputKeepsItsPermissions) {
  struct Case {
    mode_t older;  ///< 0: no older output
    const char* umask;
    mode_t expected;
  };
  const std::vector<Case> cases = {
      {0600, "umask 022", 0600},
      {0640, "umask 022", 0640},
      {0, "umask 077", 0600},
      {0, "umask 022", 0644},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.umask) + ", older mode " + std::to_string(c.older));
    TempDir dir, logs;
    const std::string output = dir.File("o.osq");
    if (c.older != 0) {
      ASSERT_TRUE(WriteWholeFile(output, "older output"));
      ASSERT_EQ(chmod(output.c_str(), c.older), 0);
      // The superuser replacing another user's output leaves it theirs.
      if (geteuid() == 0) {
        ASSERT_EQ(chown(output.c_str(), 65534, 65534), 0);
      }
    }
    const Finished run =
        RunHarness({"--input", TestMedia::Path("av.mp4"), "--output", output, "--tmp", dir.Path()}, logs, c.umask);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    struct stat info {};
    ASSERT_EQ(stat(output.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.expected);
    if (c.older != 0 && geteuid() == 0) {
      EXPECT_EQ(info.st_uid, 65534u);
      EXPECT_EQ(info.st_gid, 65534u);
    }
  }
}

// An output folder where files can be created but not renamed (chattr +a)
// is refused before anything is encoded, and nothing is left in it.
TEST(EncodeFileCommand, AnOutputFolderThatForbidsRenamingIsRefusedAtOnce) {
  TempDir dir, temp, logs;
  const std::string output = dir.File("o.osq");
  ASSERT_TRUE(WriteWholeFile(output, "older output"));
  ScopedFileAttribute appendOnly(dir.Path(), ScopedFileAttribute::kAppendOnly);
  if (!appendOnly.Held()) GTEST_SKIP() << appendOnly.Failure();
  const Finished run =
      RunHarness({"--input", TestMedia::Path("av.mp4"), "--output", output, "--tmp", temp.Path()}, logs);
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("is append-only"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("Done"), std::string::npos) << "refused only after encoding: " << run.output;
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"o.osq"});
  EXPECT_EQ(ReadWholeFile(output), "older output");
}

// A reader of the progress lines that goes away (`encode_file ... | head -1`)
// does not end the encode.
TEST(EncodeFileCommand, AClosedProgressPipeDoesNotStopTheEncode) {
  TempDir dir;
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  std::vector<std::string> all = {ENCODE_FILE_PATH, "--input", TestMedia::Path("av.mp4"), "--output", dir.File("o.osq"),
                                  "--tmp",          dir.Path()};
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 2);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  const Finished run = Reap(pid, "/dev/null");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(ReadOrvexaContainerFile(dir.File("o.osq")).errors, std::vector<std::string>{});
}

// Paths that are no regular file are refused at once, saying what they are,
// and left as they were; an output reached through a link is written into
// the link's target.
TEST(EncodeFileCommand, PathsAreTakenForWhatTheyAre) {
  TempDir dir, logs;
  const std::string source = TestMedia::Path("av.mp4");
  ASSERT_EQ(mkfifo(dir.File("in.fifo").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(dir.File("out.fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("null.osq").c_str()), 0);
  struct Case {
    std::string input, output;
    const char* says;
  };
  const std::vector<Case> refused = {
      {dir.File("in.fifo"), dir.File("o.osq"), "is a named pipe (FIFO): only a regular file can be encoded"},
      {dir.Path(), dir.File("o.osq"), "is a folder: only a regular file can be encoded"},
      {"/dev/zero", dir.File("o.osq"), "is a character device: only a regular file can be encoded"},
      {source, dir.File("out.fifo"), "is a named pipe (FIFO), not a regular file"},
      {source, dir.File("null.osq"), "(a link to \"/dev/null\") is a character device, not a regular file"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.input + " -> " + c.output);
    const Finished run = RunHarness({"--input", c.input, "--output", c.output, "--tmp", dir.Path()}, logs);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
  }
  struct stat info {};
  ASSERT_EQ(lstat(dir.File("out.fifo").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(lstat(dir.File("null.osq").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));

  ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub/target.osq", dir.File("link.osq").c_str()), 0);
  const Finished linked = RunHarness({"--input", source, "--output", dir.File("link.osq"), "--tmp", dir.Path()}, logs);
  ASSERT_EQ(linked.exitCode, 0) << linked.output;
  ASSERT_EQ(lstat(dir.File("link.osq").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link was replaced";
  EXPECT_EQ(ReadOrvexaContainerFile(dir.File("sub/target.osq")).errors, std::vector<std::string>{});
}
