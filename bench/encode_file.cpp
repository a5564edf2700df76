// Encodes one file the way the main window does, without the window: probes
// the source, builds the engine objects with the encode set-up, runs the
// reader and the output, and polls the first profile for the percentage.
//
//   encode_file --input F --output O --tmp DIR
//               [--profile NAME,W,H,FPS,VKBPS,AKBPS]... [--start S] [--end E]
//               [--crop T,R,B,L] [--deinterlace] [--keep-aspect | --keep-source]
//
// Without --profile the factory rows are used with only "ADSL1" selected.
// Exits 0 only when the container is complete; otherwise prints why, removes
// the partial output and exits 1 (2 for a wrong command line).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "EncodeSetup.h"
#include "EncodeWorker.h"
#include "KestrinAvEncoder.h"
#include "OrvexaOutput.h"
#include "keAVSource.h"
#include "SourceProbe.h"
#include "keFactory.h"

namespace {

int Usage(const char* why) {
  std::fprintf(stderr,
               "encode_file: %s\n"
               "usage: encode_file --input F --output O --tmp DIR [--profile NAME,W,H,FPS,VKBPS,AKBPS]...\n"
               "                   [--start S] [--end E] [--crop T,R,B,L] [--deinterlace]\n"
               "                   [--keep-aspect | --keep-source]\n",
               why);
  return 2;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, ',')) parts.push_back(part);
  return parts;
}

bool FileExists(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
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
    if (arg == "--input") { if (!value(fields.inputPath)) return Usage("--input needs a file"); }
    else if (arg == "--output") { if (!value(fields.outputPath)) return Usage("--output needs a file"); }
    else if (arg == "--tmp") { if (!value(fields.tempDir)) return Usage("--tmp needs a directory"); }
    else if (arg == "--start") { if (!value(fields.startSeconds)) return Usage("--start needs seconds"); }
    else if (arg == "--end") { if (!value(fields.endSeconds)) return Usage("--end needs seconds"); }
    else if (arg == "--deinterlace") fields.deinterlace = true;
    else if (arg == "--keep-aspect") fields.keepAspectRatio = true;
    else if (arg == "--keep-source") fields.keepSourceDimensions = true;
    else if (arg == "--crop") {
      if (!value(text)) return Usage("--crop needs T,R,B,L");
      const auto parts = SplitCommas(text);
      if (parts.size() != 4) return Usage("--crop needs T,R,B,L");
      fields.cropTop = parts[0];
      fields.cropRight = parts[1];
      fields.cropBottom = parts[2];
      fields.cropLeft = parts[3];
    } else if (arg == "--profile") {
      if (!value(text)) return Usage("--profile needs NAME,W,H,FPS,VKBPS,AKBPS");
      const auto parts = SplitCommas(text);
      if (parts.size() != 6) return Usage("--profile needs NAME,W,H,FPS,VKBPS,AKBPS");
      profiles.push_back({"1", parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]});
    } else {
      return Usage(("unknown argument " + arg).c_str());
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
  if (!FileExists(fields.inputPath)) {
    std::fprintf(stderr, "encode_file: %s: no such file\n", fields.inputPath.c_str());
    return 1;
  }

  keFactory factory;
  const SourceProbe probe = ProbeSource(factory, fields.inputPath);
  std::printf("source: %dx%d, %.2f fps, %d channel(s) at %d Hz, %.2f s\n", probe.width, probe.height,
              probe.frameRate, probe.channels, probe.sampleRate, probe.duration);
  if (!probe.Encodable()) {
    std::fprintf(stderr, "encode_file: %s: no audio/video stream of this file can be decoded\n",
                 fields.inputPath.c_str());
    return 1;
  }
  fields.sourceWidth = probe.width;
  fields.sourceHeight = probe.height;

  bool succeeded = false;
  std::string failure;
  {
    EncodeRun run;
    StartEncode(factory, fields, run);
    if (run.encoders.empty()) {
      std::fprintf(stderr, "encode_file: no profile selected\n");
      return 2;
    }
    const auto begin = std::chrono::steady_clock::now();
    std::thread worker([&run] { RunEncodeWorker(run); });
    int lastPercent = -1;
    while (!run.output->GetFinishedEvent().Wait(300)) {
      const int percent = run.encoders.front()->GetProgressPercent();
      if (percent != lastPercent) {
        std::printf("%d Stream(s) : Done %d %%\n", run.streamCount, percent);
        std::fflush(stdout);
        lastPercent = percent;
      }
    }
    worker.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    succeeded = run.output->Succeeded();
    failure = run.output->GetFailureText();
    if (succeeded) std::printf("encoded %d stream(s) in %.2f s\n", run.streamCount, seconds);
  }
  if (!succeeded) {
    std::remove(fields.outputPath.c_str());
    std::fprintf(stderr, "encode_file: the encode failed:\n%s\n", failure.c_str());
    return 1;
  }
  return 0;
}
