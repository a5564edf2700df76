// One instance at a time, with two real processes of the program: the second
// says so on its error output and in the error log's box, without a window.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/datetime.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "AppTestSupport.h"
#include "GuiTestSupport.h"
#include "GuiTestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

/// A copy of the program with HOME in a folder of the test's own, its
/// standard error in a file.
class ProgramProcess {
 public:
  ProgramProcess(const std::string& home, const std::string& errorFile) {
    pid = fork();
    if (pid == 0) {
      setenv("HOME", home.c_str(), 1);
      setenv("XDG_CONFIG_HOME", home.c_str(), 1);
      if (!freopen(errorFile.c_str(), "w", stderr)) _exit(126);
      execl(OSTREL_PROGRAM, OSTREL_PROGRAM, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~ProgramProcess() {
    if (pid > 0 && !exited) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  /// True when the process ended within the time; its exit status in `status`.
  bool WaitForExit(std::chrono::milliseconds limit, int* status) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      if (waitpid(pid, status, WNOHANG) == pid) {
        exited = true;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  bool Running() {
    int status = 0;
    if (exited) return false;
    if (waitpid(pid, &status, WNOHANG) == pid) exited = true;
    return !exited;
  }

 private:
  pid_t pid = -1;
  bool exited = false;
};

class SingleInstanceTest : public AppTest {};

TEST_F(SingleInstanceTest, ASecondCopySaysSoAndTheFirstGoesOn) {
  const std::string home = programDir + "/home";
  std::filesystem::create_directory(home);
  // A configuration that asks nothing at start: the directory and today's check are set.
  WriteWholeFile(home + "/.Ostrel 3",
                 "[General]\ntmpDir=/tmp\nCFU=" + std::string(wxDateTime::Now().Format("%Y-%m-%d").utf8_str()) + "\n");
  const std::string lock = home + "/{8DA5E1E7-654E-4241-B9A9-F7D0D563AAA5}";

  ProgramProcess first(home, programDir + "/first.err");
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(lock); }, 10.0))
      << ReadWholeFile(programDir + "/first.err");
  ASSERT_TRUE(first.Running());

  // The second copy says so on stderr and in the error log's box, which
  // waits for the person (on a desktop that is all they would see).
  ProgramProcess second(home, programDir + "/second.err");
  ASSERT_TRUE(WaitUntil(
      [&] {
        return ReadWholeFile(programDir + "/second.err").find("Ostrel is already running !") != std::string::npos;
      },
      10.0))
      << ReadWholeFile(programDir + "/second.err");
  int status = 0;
  EXPECT_FALSE(second.WaitForExit(std::chrono::milliseconds(500), &status)) << "the box did not wait";

  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(std::filesystem::exists(lock));
}

}  // namespace
