// Encodes one file the way the main window does, without the window: probes
// the source, then runs the same encode session as the window: the checks,
// the set-up, the worker, the polling of the first profile, the outcome.
//
//   encode_file --input F --output O --tmp DIR
//               [--profile NAME,W,H,FPS,VKBPS,AKBPS]... [--start S] [--end E]
//               [--crop T,R,B,L] [--deinterlace] [--keep-aspect | --keep-source]
//
// Without --profile the factory rows are used with only "ADSL1" selected.
// Exits 0 only when the container is complete and in place; 1 when the
// encode is refused or fails (an older output file is left as it was, and
// nothing partial is left behind); 2 for a wrong command line; 128 + the
// signal's number after SIGINT, SIGTERM, SIGHUP or SIGQUIT, which cancel the
// encode unless the caller started it with them ignored (nohup, a shell's
// background job). A closed progress pipe is no reason to stop, a write past
// the file-size limit fails the run with its reason, and a standard
// descriptor closed at start is opened on /dev/null.
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EncodeSession.h"
#include "EncodePlan.h"
#include "SourceProbe.h"
#include "keFactory.h"
#include "platform/keFileKind.h"
#include "platform/keMemoryRoom.h"
#include "platform/keProcessStart.h"

namespace {

volatile std::sig_atomic_t gSignal = 0;

extern "C" void OnSignal(int signal) { gSignal = signal; }

/// The signals that cancel an encode, as a user's interrupt does.
constexpr int kCancellingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

/// Those the caller ignored (nohup's SIGHUP, a background job's SIGINT and
/// SIGQUIT) stay ignored.
void CatchInterrupts() {
  for (int signal : kCancellingSignals) kePlatform::CatchUnlessIgnored(signal, OnSignal);
}

/// A reader of the progress lines that goes away (`encode_file ... | head -1`)
/// must not end the encode: writes to it then fail quietly.
void IgnoreClosedPipes() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  sigaction(SIGPIPE, &action, nullptr);
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    case SIGQUIT: return "SIGQUIT";
    default: return "SIGINT";
  }
}

int Usage(const std::string& why) {
  std::fprintf(stderr,
               "encode_file: %s\n"
               "usage: encode_file --input F --output O --tmp DIR [--profile NAME,W,H,FPS,VKBPS,AKBPS]...\n"
               "                   [--start S] [--end E] [--crop T,R,B,L] [--deinterlace]\n"
               "                   [--keep-aspect | --keep-source]\n",
               why.c_str());
  return 2;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, ',')) parts.push_back(part);
  if (!text.empty() && text.back() == ',') parts.push_back("");
  return parts;
}

bool IsSeconds(const std::string& text) {
  double value;
  return !text.empty() && ParseDecimal(text, &value);
}

bool IsWhole(const std::string& text) {
  int value;
  return !text.empty() && ParseWholeNumber(text, &value);
}

}  // namespace

int Encode(int argc, char** argv) {
  EncodeFields fields;
  std::vector<StreamProfileRow> profiles;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--input") {
      if (!value(fields.inputPath)) return Usage("--input needs a file");
    } else if (arg == "--output") {
      if (!value(fields.outputPath)) return Usage("--output needs a file");
    } else if (arg == "--tmp") {
      if (!value(fields.tempDir)) return Usage("--tmp needs a directory");
    } else if (arg == "--start") {
      if (!value(fields.startSeconds) || !IsSeconds(fields.startSeconds))
        return Usage("--start needs seconds of 0 or more, not \"" + fields.startSeconds + "\"");
    } else if (arg == "--end") {
      if (!value(fields.endSeconds) || !IsSeconds(fields.endSeconds))
        return Usage("--end needs seconds of 0 or more, not \"" + fields.endSeconds + "\"");
    } else if (arg == "--deinterlace") fields.deinterlace = true;
    else if (arg == "--keep-aspect") fields.keepAspectRatio = true;
    else if (arg == "--keep-source") fields.keepSourceDimensions = true;
    else if (arg == "--crop") {
      if (!value(text)) return Usage("--crop needs T,R,B,L");
      const auto parts = SplitCommas(text);
      if (parts.size() != 4) return Usage("--crop needs T,R,B,L, not \"" + text + "\"");
      for (const std::string& part : parts)
        if (!IsWhole(part)) return Usage("--crop needs whole numbers of pixels, not \"" + part + "\"");
      fields.cropTop = parts[0];
      fields.cropRight = parts[1];
      fields.cropBottom = parts[2];
      fields.cropLeft = parts[3];
    } else if (arg == "--profile") {
      if (!value(text)) return Usage("--profile needs NAME,W,H,FPS,VKBPS,AKBPS");
      const auto parts = SplitCommas(text);
      if (parts.size() != 6) return Usage("--profile needs NAME,W,H,FPS,VKBPS,AKBPS, not \"" + text + "\"");
      const char* names[6] = {"NAME", "W", "H", "FPS", "VKBPS", "AKBPS"};
      for (int p = 1; p < 6; ++p) {
        const bool good = p == 3 ? IsSeconds(parts[p]) : IsWhole(parts[p]);
        if (!good)
          return Usage(std::string("--profile ") + names[p] + " needs a number of 0 or more, not \"" + parts[p] + "\"");
      }
      profiles.push_back({"1", parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]});
    } else {
      return Usage("unknown argument " + arg);
    }
  }
  if (fields.inputPath.empty() || fields.outputPath.empty() || fields.tempDir.empty())
    return Usage("--input, --output and --tmp are required");
  if (fields.keepAspectRatio && fields.keepSourceDimensions)
    return Usage("--keep-aspect and --keep-source exclude each other");
  if (profiles.size() > static_cast<size_t>(kStreamRowCount)) return Usage("at most nine profiles");
  if (profiles.empty()) {
    fields.rows = FactoryStreamProfileRows();
  } else {
    for (size_t row = 0; row < profiles.size(); ++row) fields.rows[row] = profiles[row];
  }
  IgnoreClosedPipes();
  // Before the probe opens it: a named pipe would block it.
  std::string notAFile;
  if (!kePlatform::CheckSourceFile(fields.inputPath, &notAFile)) {
    std::fprintf(stderr, "encode_file: %s\n", notAFile.c_str());
    return 1;
  }

  {
    keFactory factory;
    const SourceProbe probe = ProbeSource(factory, fields.inputPath);
    std::printf("source: %dx%d, %.2f fps, %d channel(s) at %d Hz, %.2f s\n", probe.width, probe.height, probe.frameRate,
                probe.channels, probe.sampleRate, probe.duration);
    std::fflush(stdout);
    if (!probe.Encodable()) {
      // The window's words about codecs only where a codec may be missing.
      std::fprintf(stderr, "encode_file: %s %s\n%s", fields.inputPath.c_str(), probe.problem.c_str(),
                   probe.unreadable ? "" : UnencodableSourceMessage().c_str());
      return 1;
    }
    fields.sourceWidth = probe.width;
    fields.sourceHeight = probe.height;
  }

  CatchInterrupts();
  // The same gate as the window's set-up: the fields become one plan, or
  // one refusal that names the field or row.
  EncodeSession session;
  const CheckOutcome prepared = session.Prepare(fields);
  if (!prepared.Passed()) {
    std::fprintf(stderr, "encode_file: %s\n", prepared.refusal.c_str());
    return 1;
  }
  const auto begin = std::chrono::steady_clock::now();
  session.StartWorkerThread();
  int lastPercent = -1;
  int cancelledBy = 0;
  while (!session.WaitWorkerDone(100)) {
    if (gSignal != 0 && cancelledBy == 0) {
      cancelledBy = gSignal;
      session.Cancel();  // as the window's Cancel: nothing partial is left
    }
    const int percent = session.FirstProfilePercent();
    if (percent != lastPercent && cancelledBy == 0) {
      std::printf("%d Stream(s) : Done %d %%\n", session.Run().streamCount, percent);
      std::fflush(stdout);
      lastPercent = percent;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  const EncodeResult result = session.Result();
  for (const std::string& warning : result.warnings)
    std::fprintf(stderr, "encode_file: warning: %s\n", warning.c_str());
  switch (result.status) {
    case EncodeResult::kSucceeded:
      std::printf("encoded %d stream(s) in %.2f s\n", session.Run().streamCount, seconds);
      return 0;
    case EncodeResult::kCancelled:
      std::fprintf(stderr, "encode_file: interrupted by %s: the encode was cancelled\n", SignalName(cancelledBy));
      return 128 + (cancelledBy ? cancelledBy : SIGINT);
    default: std::fprintf(stderr, "encode_file: the encode failed:\n%s\n", result.reason.c_str()); return 1;
  }
}

int main(int argc, char** argv) {
  kePlatform::SettleProcessStart();  // before anything opens a file
  try {
    return Encode(argc, argv);
  } catch (const std::bad_alloc&) {
    // Under a memory limit: a failure with its reason, not an abort (the
    // session, unwound, cancels a run it had started and leaves nothing).
    kePlatform::ReleaseMemoryRoom();
    std::fprintf(stderr, "encode_file: the encode failed:\nthere is not enough memory\n");
    return 1;
  }
}
