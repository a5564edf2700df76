// Peak memory of a whole encode against its length: generated media through
// two per-profile encoders into one container, once for a short source and
// once for a source ten times longer, each in a fresh process so that the
// peaks are not mixed. Memory that stays flat gives a ratio close to 1.
//
//   output_memory [--seconds S]     (default 6: runs S and 10 x S)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "GeneratedEncode.h"
#include "TempDir.h"

namespace {

int RunEncode(double seconds) {
  TempDir dir;
  GeneratedMedia media;
  media.width = 320;
  media.height = 240;
  media.seconds = seconds;
  GeneratedEncode encode(media, {{"ADSL1", 320, 256, 25, 256, 40}, {"Modem", 240, 192, 10, 40, 12, 8000, 1}},
                         dir.File("out.orx"), dir.Path());
  if (!encode.Run() || !encode.Output().Succeeded()) {
    std::fprintf(stderr, "encode failed: %s\n", encode.Output().GetFailureText().c_str());
    return 1;
  }
  return 0;
}

struct ChildResult {
  bool ok;
  long peakKiB;
  double wallSeconds;
};

ChildResult RunChild(const char* self, double seconds) {
  const auto begin = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const std::string arg = std::to_string(seconds);
    execl(self, self, "--child", arg.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  return {WIFEXITED(status) && WEXITSTATUS(status) == 0, usage.ru_maxrss, wall};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return RunEncode(std::atof(argv[2]));
  double seconds = 6.0;
  if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0) seconds = std::atof(argv[2]);

  const ChildResult shortRun = RunChild("/proc/self/exe", seconds);
  const ChildResult longRun = RunChild("/proc/self/exe", seconds * 10.0);
  if (!shortRun.ok || !longRun.ok) {
    std::fprintf(stderr, "an encode failed\n");
    return 1;
  }
  std::printf("%-12s %10s %12s\n", "source", "peak KiB", "wall s");
  std::printf("%-12.0f %10ld %12.2f\n", seconds, shortRun.peakKiB, shortRun.wallSeconds);
  std::printf("%-12.0f %10ld %12.2f\n", seconds * 10.0, longRun.peakKiB, longRun.wallSeconds);
  std::printf("peak ratio (10x source / 1x source): %.3f\n",
              static_cast<double>(longRun.peakKiB) / static_cast<double>(shortRun.peakKiB));
  return 0;
}
