#include "SyncMarkers.h"

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "OggTestStreams.h"
#include "TempDir.h"
#include "TestFiles.h"

namespace {

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `command` with its standard output caught in `outPath`; false, with
// what it printed on standard error added to `error`, when it fails.
bool Run(const std::string& command, const std::string& outPath, const TempDir& scratch, std::string* error) {
  const std::string errPath = scratch.File("stderr");
  const std::string line = command + " </dev/null >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath);
  const int status = std::system(line.c_str());
  const std::string err = ReadWholeFile(errPath);
  const bool ok = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!ok || !err.empty()) *error += command.substr(0, command.find(' ')) + ": " + err;
  return ok;
}

// The frame number of every Theora packet that holds a picture; the empty
// ones between them repeat the picture before. `frames` counts both.
std::vector<int64_t> CodedTheoraFrames(const std::vector<uint8_t>& oggBytes, int64_t* frames) {
  std::vector<int64_t> coded;
  *frames = 0;
  for (const auto& [serial, packets] : ExtractOggPackets(oggBytes)) {
    if (packets.empty() || packets.front().size() < 7 || std::memcmp(packets.front().data(), "\x80theora", 7) != 0)
      continue;
    for (const std::vector<uint8_t>& packet : packets) {
      if (!packet.empty() && (packet[0] & 0x80) != 0) continue;  // a header
      if (!packet.empty()) coded.push_back(*frames);
      ++*frames;
    }
    break;
  }
  return coded;
}

}  // namespace

SyncMarkers FindSyncMarkers(const std::vector<uint8_t>& oggBytes) {
  SyncMarkers markers;
  TempDir scratch;
  const std::string ogg = scratch.File("stream.ogg");
  {
    std::ofstream out(ogg, std::ios::binary);
    out.write(reinterpret_cast<const char*>(oggBytes.data()), static_cast<std::streamsize>(oggBytes.size()));
  }

  const std::string rateFile = scratch.File("rate"), grey = scratch.File("grey"), pcm = scratch.File("pcm");
  // Passthrough: one picture out for every picture decoded, none made up or
  // dropped to fit a rate.
  const bool ran =
      Run("ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of csv=p=0 " + ShellQuote(ogg),
          rateFile, scratch, &markers.errorText) &&
      Run("ffmpeg -nostdin -v error -i " + ShellQuote(ogg) +
              " -map 0:v:0 -vf scale=8:8:flags=area,format=gray -fps_mode passthrough -f rawvideo -",
          grey, scratch, &markers.errorText) &&
      Run("ffmpeg -nostdin -v error -i " + ShellQuote(ogg) + " -map 0:a:0 -ac 1 -c:a pcm_s16le -f s16le -", pcm,
          scratch, &markers.errorText);
  if (!ran) return markers;

  markers.sampleRate = std::atoi(ReadWholeFile(rateFile).c_str());

  const std::vector<int64_t> coded = CodedTheoraFrames(oggBytes, &markers.frames);
  constexpr size_t kPixels = 8 * 8;
  const std::vector<unsigned char> pictures = ReadWholeFileBytes(grey);
  if (pictures.size() != coded.size() * kPixels) {
    markers.errorText += std::to_string(pictures.size() / kPixels) + " pictures decoded of " +
                         std::to_string(coded.size()) + " coded Theora frames";
    return markers;
  }
  for (size_t picture = 0; picture < coded.size() && markers.firstBrightFrame < 0; ++picture) {
    int sum = 0;
    for (size_t i = 0; i < kPixels; ++i) sum += pictures[picture * kPixels + i];
    if (sum > 128 * static_cast<int>(kPixels)) markers.firstBrightFrame = coded[picture];
  }

  const std::vector<unsigned char> sound = ReadWholeFileBytes(pcm);
  const size_t samples = sound.size() / 2;
  markers.samples = static_cast<int64_t>(samples);
  for (size_t i = 0; i < samples && markers.firstLoudSample < 0; ++i) {
    const auto sample = static_cast<int16_t>(sound[2 * i] | (sound[2 * i + 1] << 8));
    if (std::abs(static_cast<int>(sample)) > 32768 / 4) markers.firstLoudSample = static_cast<int64_t>(i);
  }

  markers.decoded = markers.sampleRate > 0 && !coded.empty() && markers.samples > 0;
  if (!markers.decoded) markers.errorText += "no pictures or no sound decoded";
  return markers;
}
