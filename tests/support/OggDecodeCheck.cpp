#include "OggDecodeCheck.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "TestFiles.h"

namespace {

// Single quotes keep any path intact for the shell.
std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `command` through the shell with its standard output and error
// caught in files of `scratch`.
CommandResult Run(const std::string& command, const TempDir& scratch) {
  const std::string outPath = scratch.File("stdout"), errPath = scratch.File("stderr");
  const std::string line = command + " </dev/null >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath);
  CommandResult result;
  int status = std::system(line.c_str());
  result.status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  return result;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

double ToNumber(const std::string& text, double fallback) {
  if (text.empty() || text == "N/A") return fallback;
  size_t slash = text.find('/');
  char* end = nullptr;
  if (slash != std::string::npos) {
    double num = std::strtod(text.substr(0, slash).c_str(), nullptr);
    double den = std::strtod(text.substr(slash + 1).c_str(), nullptr);
    return den != 0.0 ? num / den : 0.0;
  }
  double v = std::strtod(text.c_str(), &end);
  return end && *end == '\0' ? v : fallback;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// ffprobe's "flat" output: one `streams.stream.N.key=value` or
// `format.key=value` per line, strings in double quotes.
void ParseFlat(const std::string& text, OggDecodeResult& result) {
  std::map<int, std::map<std::string, std::string>> fields;
  std::istringstream lines(text);
  std::string line;
  const std::string streamPrefix = "streams.stream.";
  while (std::getline(lines, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = Unquote(line.substr(eq + 1));
    if (key == "format.duration") result.formatDurationSeconds = ToNumber(value, -1.0);
    if (key.compare(0, streamPrefix.size(), streamPrefix) != 0) continue;
    size_t dot = key.find('.', streamPrefix.size());
    if (dot == std::string::npos) continue;
    fields[std::atoi(key.substr(streamPrefix.size(), dot - streamPrefix.size()).c_str())][key.substr(dot + 1)] = value;
  }
  for (auto& [index, f] : fields) {
    DecodedOggStream s;
    s.codecType = f["codec_type"];
    s.codec = f["codec_name"];
    s.pixelFormat = f["pix_fmt"];
    s.width = static_cast<int>(ToNumber(f["width"], 0));
    s.height = static_cast<int>(ToNumber(f["height"], 0));
    s.frames = static_cast<int64_t>(ToNumber(f["nb_read_frames"], -1));
    s.frameRate = s.codecType == "video" ? ToNumber(f["r_frame_rate"], 0.0) : 0.0;
    s.sampleRate = static_cast<int>(ToNumber(f["sample_rate"], 0));
    s.channels = static_cast<int>(ToNumber(f["channels"], 0));
    s.durationSeconds = ToNumber(f["duration"], -1.0);
    for (const auto& [key, value] : f)
      if (key.compare(0, 5, "tags.") == 0) s.tags[Lower(key.substr(5))] = value;
    result.streams.push_back(s);
  }
}

}  // namespace

const DecodedOggStream* OggDecodeResult::Stream(const std::string& codecType) const {
  for (const DecodedOggStream& s : streams)
    if (s.codecType == codecType) return &s;
  return nullptr;
}

OggDecodeResult DecodeOggFile(const std::string& path) {
  OggDecodeResult result;
  TempDir scratch;
  CommandResult probe =
      Run("ffprobe -v error -count_frames -show_streams -show_format -of flat " + ShellQuote(path), scratch);
  result.probed = probe.status == 0;
  if (!probe.err.empty()) result.errorText += "ffprobe: " + probe.err;
  if (result.probed) ParseFlat(probe.out, result);

  CommandResult decode = Run("ffmpeg -nostdin -v error -i " + ShellQuote(path) + " -f null -", scratch);
  if (!decode.err.empty()) result.errorText += "ffmpeg: " + decode.err;
  result.decodeErrors = decode.status != 0 || !decode.err.empty();
  return result;
}

OggDecodeResult DecodeOggBytes(const std::vector<uint8_t>& bytes) {
  TempDir dir;
  const std::string path = dir.File("stream.ogg");
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  return DecodeOggFile(path);
}

bool WriteTinyTheoraVorbisOgg(const std::string& path, std::string* error) {
  TempDir scratch;
  CommandResult made =
      Run("ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=64x48:rate=10 -f lavfi -i sine"
          " -t 1 -c:v libtheora -c:a libvorbis -metadata title=Ostrel " +
              ShellQuote(path),
          scratch);
  *error = made.err;
  return made.status == 0;
}
