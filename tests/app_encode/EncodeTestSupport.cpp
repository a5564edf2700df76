// Helpers of the encode window tests.
#include "EncodeTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

WhileRunning::WhileRunning(std::function<bool()> step, int milliseconds) : step_(std::move(step)) {
  Start(milliseconds);
}

void WhileRunning::Notify() {
  if (finished_) return;
  if (step_()) {
    finished_ = true;
    Stop();
  }
}

std::string LongSource(int seconds) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::current_path() / "test-media-window";
  fs::create_directories(dir);
  const fs::path path = dir / ("long" + std::to_string(seconds) + ".avi");
  if (fs::exists(path)) return path.string();
  const fs::path part = dir / ("long" + std::to_string(seconds) + "." + std::to_string(::getpid()) + ".part.avi");
  const std::string command =
      "ffmpeg -hide_banner -nostdin -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=25:duration=" +
      std::to_string(seconds) +
      " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds) +
      " -ac 2 -c:v mpeg4 -q:v 5 -c:a pcm_s16le '" + part.string() + "'";
  if (std::system(command.c_str()) != 0) {
    ADD_FAILURE() << "ffmpeg could not make " << path;
    return {};
  }
  fs::rename(part, path);
  return path.string();
}

std::string DamagedSource() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::current_path() / "test-media-window";
  fs::create_directories(dir);
  const fs::path path = dir / "damaged.mp4";
  if (fs::exists(path)) return path.string();
  const fs::path part = dir / ("damaged." + std::to_string(::getpid()) + ".part.mp4");
  const std::string command =
      "ffmpeg -hide_banner -nostdin -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=4 "
      "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -ac 2 -c:v libx264 -pix_fmt yuv420p "
      "-c:a aac -movflags +faststart '" +
      part.string() + "'";
  if (std::system(command.c_str()) != 0) {
    ADD_FAILURE() << "ffmpeg could not make " << path;
    return {};
  }
  {
    std::fstream file(part, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    // Past the header at the front, through the middle of the data.
    for (std::streamoff at = size / 4; at < 3 * size / 4; at += size / 10) {
      file.seekp(at);
      for (std::streamoff i = at; i < at + 800; ++i) file.put(static_cast<char>((i * 7919 + 13) & 0xff));
    }
  }
  fs::rename(part, path);
  return path.string();
}

std::vector<std::string> DirectoryEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
