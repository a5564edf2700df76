#include "TestMedia.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "TestFiles.h"

namespace TestMedia {
namespace {

enum class Make { Ffmpeg, Empty, Truncate, Halve, KeepFifth, Join, Random, PatchAudioTag, PatchVideoTag };

struct Recipe {
  Make make;
  /// ffmpeg arguments before the output name, or the file a recipe derives from.
  std::string text;
};

const std::string kPicture = "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 ";
std::string Tone(int rate, int seconds = 2) {
  return "-f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(rate) + ":duration=" + std::to_string(seconds) +
         " ";
}
// Red over blue, so that the row order of a delivered picture shows.
const std::string kTwoColours =
    "-f lavfi -i color=c=blue:size=64x48:rate=25:duration=1 "
    "-vf drawbox=x=0:y=0:w=64:h=24:color=red:t=fill ";

// Sync markers: the picture turns from black to white, and a loud 440 Hz
// tone breaks the silence, at the same source time.
std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}
std::string BrightFrom(double at) { return "drawbox=color=white:t=fill:enable='gte(t," + Seconds(at) + ")'"; }
std::string Dark(double seconds, int rate = 25) {
  return "color=c=black:size=160x120:rate=" + std::to_string(rate) + ":duration=" + Seconds(seconds);
}
/// Stereo; `more` follows the source in its filter chain.
std::string ToneFrom(double at, int rate, double seconds, const std::string& more = "") {
  const std::string wave = "0.8*sin(2*PI*440*t)*gte(t," + Seconds(at) + ")";
  return "-f lavfi -i \"aevalsrc=exprs='" + wave + "|" + wave + "':s=" + std::to_string(rate) +
         ":d=" + Seconds(seconds) + more + "\" ";
}
const std::string kSyncVideo = "-pix_fmt yuv420p -c:v libx264 ";

// 5 s of grey, then 5 s of noise that hardly compresses, under 10 s of tone.
std::string GreyThenNoise(int width, int height) {
  const std::string size = "size=" + std::to_string(width) + "x" + std::to_string(height) + ":rate=25:duration=5";
  return "-f lavfi -i \"color=gray:" + size + "[a];testsrc2=" + size +
         ",noise=alls=60:allf=t[b];[a][b]concat=n=2:v=1:a=0\" -f lavfi -i "
         "sine=frequency=440:sample_rate=44100:duration=10 ";
}

const std::map<std::string, Recipe>& Recipes() {
  static const std::map<std::string, Recipe> recipes = {
      {"av.avi", {Make::Ffmpeg, kPicture + Tone(44100) + "-ac 2 -c:v mpeg4 -q:v 5 -c:a pcm_s16le"}},
      {"av.mpg", {Make::Ffmpeg, kPicture + Tone(44100) + "-ac 2 -c:v mpeg1video -c:a mp2 -f mpeg"}},
      {"av.mpeg", {Make::Ffmpeg, kPicture + Tone(48000) + "-ac 2 -c:v mpeg2video -c:a mp2 -f mpeg"}},
      {"av.mov", {Make::Ffmpeg, kPicture + Tone(48000) + "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"av.mp4",
       {Make::Ffmpeg, kPicture + Tone(44100) + "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac -movflags +faststart"}},
      {"av.3gp",
       {Make::Ffmpeg,
        "-f lavfi -i testsrc=size=176x144:rate=15:duration=2 " + Tone(22050) + "-ac 1 -c:v h263 -c:a aac"}},
      {"av.flv", {Make::Ffmpeg, kPicture + Tone(22050) + "-ac 2 -c:v flv -c:a libmp3lame"}},
      {"rate50.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=50:duration=1 " + Tone(44100, 1) +
                          "-pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"rate5994.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=60000/1001:duration=1 " + Tone(44100, 1) +
                          "-pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"rate240.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=64x48:rate=240000/1001:duration=1 " + Tone(44100, 1) +
                          "-r 240000/1001 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"driftaudio.mkv",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=64x48:rate=25:duration=30 " + Tone(44100, 30) +
                          "-af \"volume=volume=0:enable='lt(t,25)',asetpts=PTS*1.002\" "
                          "-pix_fmt yuv420p -c:v libx264 -c:a pcm_s16le"}},
      {"twoaudio.mkv",
       {Make::Ffmpeg, kPicture + "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=2 " +
                          "-f lavfi -i sine=frequency=880:sample_rate=48000:duration=1 " +
                          "-map 0 -map 1 -map 2 -ac:a:1 2 -pix_fmt yuv420p -c:v libx264 -c:a pcm_s16le"}},
      {"four.mp4",
       {Make::Ffmpeg,
        "-f lavfi -i testsrc=size=160x120:rate=25:duration=1 "
        "-f lavfi -i testsrc2=size=80x60:rate=10:duration=1 " +
            Tone(44100, 1) +
            "-f lavfi -i sine=frequency=880:duration=1 "
            "-map 0 -map 1 -map 2 -map 3 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      // Streams far apart: the audio starts 3 s in; the video stops after 1 s.
      {"lateaudio.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=25:duration=8 -itsoffset 3 " + Tone(44100, 5) +
                          "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"shortvideo.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=25:duration=1 " + Tone(44100, 5) +
                          "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      // 15 fps for 2 s, then 30 fps: markers at 3.5 s, frame 75 of 120.
      {"sync_vfr.mp4",
       {Make::Ffmpeg, "-f lavfi -i " + Dark(2, 15) + " -f lavfi -i " + Dark(3, 30) + " " + ToneFrom(3.5, 44100, 5) +
                          "-filter_complex \"[0:v][1:v]concat=n=2:v=1:a=0," + BrightFrom(3.5) +
                          "[v]\" -map \"[v]\" -map 2:a -fps_mode passthrough " + kSyncVideo + "-c:a aac"}},
      // 25 fps with frames up to 7 ms early or late, 29 ms to 50 ms apart;
      // every 25th frame is on time, so the first white one is at 3 s sharp.
      {"sync_jitter.mkv",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(5) + ",settb=1/1000,setpts='(N/25+0.007*sin(N*2*PI*7/25))/TB'," +
                          BrightFrom(3) + "\" " + ToneFrom(3, 48000, 5) + "-fps_mode passthrough " + kSyncVideo +
                          "-c:a flac"}},
      // 6 s of video; the audio starts 3 s in (an empty edit, no samples
      // before it); markers at 4 s.
      {"sync_lateaudio.mp4",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(6) + "," + BrightFrom(4) + "\" -itsoffset 3 " + ToneFrom(1, 44100, 3) +
                          kSyncVideo + "-c:a aac"}},
      // The audio's timestamps jump from 2 s to 3 s; markers at 4 s. Blocks
      // of 20 ms make the hole exact; PCM because an encoder of fixed-size
      // frames (FLAC, AAC) would be fed blocks cut anew, closing the hole.
      {"sync_hole.mkv",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(6) + "," + BrightFrom(4) + "\" " +
                          ToneFrom(4, 48000, 6, ":n=960,aselect='lt(t,2)+gte(t,3)'") + kSyncVideo + "-c:a pcm_s16le"}},
      // The video starts 1 s after the audio; markers at 3 s.
      {"sync_earlyaudio.mkv",
       {Make::Ffmpeg, "-itsoffset 1 -f lavfi -i \"" + Dark(5) + "," + BrightFrom(2) + "\" " + ToneFrom(3, 48000, 6) +
                          kSyncVideo + "-c:a flac"}},
      // Clips of 2 s for joining byte for byte: dark and silent, then white
      // with a tone from its first moment (the second also stamped 100 s on).
      {"clip_dark.ts",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "\" " + ToneFrom(9, 48000, 2) + kSyncVideo + "-c:a aac -f mpegts"}},
      {"clip_bright.ts",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "," + BrightFrom(0) + "\" " + ToneFrom(0, 48000, 2) + kSyncVideo +
                          "-c:a aac -f mpegts"}},
      {"clip_brightlate.ts",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "," + BrightFrom(0) + "\" " + ToneFrom(0, 48000, 2) + kSyncVideo +
                          "-c:a aac -output_ts_offset 100 -f mpegts"}},
      {"clip_dark.mpg",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "\" " + ToneFrom(9, 48000, 2) + "-c:v mpeg2video -c:a mp2 -f vob"}},
      {"clip_bright.mpg",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "," + BrightFrom(0) + "\" " + ToneFrom(0, 48000, 2) +
                          "-c:v mpeg2video -c:a mp2 -f vob"}},
      {"sync_joined.ts", {Make::Join, "clip_dark.ts,clip_bright.ts"}},
      {"sync_joinedlate.ts", {Make::Join, "clip_dark.ts,clip_brightlate.ts"}},
      {"sync_joined.mpg", {Make::Join, "clip_dark.mpg,clip_bright.mpg"}},
      // 6 s, the index at the front, cut in half: it declares 6 s and holds 3.
      {"long.mp4",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=25:duration=6 " + Tone(44100, 6) +
                          "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac -movflags +faststart"}},
      {"long.mkv",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=160x120:rate=25:duration=6 " + Tone(44100, 6) +
                          "-ac 2 -pix_fmt yuv420p -c:v libx264 -c:a aac"}},
      {"long.flv",
       {Make::Ffmpeg,
        "-f lavfi -i testsrc=size=160x120:rate=25:duration=6 " + Tone(22050, 6) + "-ac 2 -c:v flv -c:a libmp3lame"}},
      // 5 s of grey, then 5 s of noise, cut at a fifth of their bytes (in
      // the noise): an AVI cut off before its index, which states a length
      // estimated from its grey start and holds some 6 s.
      {"greynoise_mpeg4_mp3.avi", {Make::Ffmpeg, GreyThenNoise(640, 360) + "-c:v mpeg4 -q:v 3 -c:a libmp3lame -ac 1"}},
      {"greynoise_h264_aac.avi",
       {Make::Ffmpeg, GreyThenNoise(320, 180) + "-pix_fmt yuv420p -c:v libx264 -c:a aac -ac 1"}},
      {"greynoise_mjpeg_pcm.avi", {Make::Ffmpeg, GreyThenNoise(320, 180) + "-c:v mjpeg -q:v 3 -c:a pcm_s16le -ac 1"}},
      {"cutoff_mpeg4_mp3.avi", {Make::KeepFifth, "greynoise_mpeg4_mp3.avi"}},
      {"cutoff_h264_aac.avi", {Make::KeepFifth, "greynoise_h264_aac.avi"}},
      {"cutoff_mjpeg_pcm.avi", {Make::KeepFifth, "greynoise_mjpeg_pcm.avi"}},
      // A clip with sound joined byte for byte to one without.
      {"clip_picture.mpg",
       {Make::Ffmpeg, "-f lavfi -i \"" + Dark(2) + "," + BrightFrom(0) + "\" -c:v mpeg2video -f vob"}},
      {"joined_nosound.mpg", {Make::Join, "clip_dark.mpg,clip_picture.mpg"}},
      {"half.mp4", {Make::Halve, "long.mp4"}},
      {"half.mkv", {Make::Halve, "long.mkv"}},
      {"half.flv", {Make::Halve, "long.flv"}},
      {"audio.mp3", {Make::Ffmpeg, Tone(22050) + "-ac 1 -c:a libmp3lame"}},
      {"cover.mp3",
       {Make::Ffmpeg, Tone(44100) + "-f lavfi -i testsrc=size=64x64:duration=1 -map 0 -map 1 "
                                    "-ac 2 -c:a libmp3lame -c:v png -frames:v 1 "
                                    "-disposition:v attached_pic -id3v2_version 3"}},
      {"mono8k.wav", {Make::Ffmpeg, Tone(8000) + "-ac 1 -c:a pcm_s16le"}},
      {"stereo48k.wav", {Make::Ffmpeg, Tone(48000) + "-ac 2 -c:a pcm_s16le"}},
      {"surround.wav", {Make::Ffmpeg, Tone(32000) + "-ac 6 -c:a pcm_s16le"}},
      {"float.wav", {Make::Ffmpeg, Tone(44100) + "-ac 2 -c:a pcm_f32le"}},
      {"video.avi", {Make::Ffmpeg, kPicture + "-c:v mpeg4 -q:v 5"}},
      {"odd.avi", {Make::Ffmpeg, "-f lavfi -i testsrc=size=161x121:rate=25:duration=1 -c:v mpeg4 -q:v 5"}},
      {"onepixel.avi",
       {Make::Ffmpeg, "-f lavfi -i color=c=red:size=16x16:rate=25:duration=1,format=rgb24,scale=1:1 " + Tone(44100, 1) +
                          "-ac 2 -pix_fmt bgr24 -c:v rawvideo -c:a pcm_s16le"}},
      {"odd_rgb.avi",
       {Make::Ffmpeg, "-f lavfi -i testsrc=size=161x121:rate=25:duration=1 -pix_fmt bgr24 -c:v rawvideo"}},
      {"raw_bgr24.avi", {Make::Ffmpeg, kTwoColours + "-pix_fmt bgr24 -c:v rawvideo"}},
      {"raw_bgra.avi", {Make::Ffmpeg, kTwoColours + "-pix_fmt bgra -c:v rawvideo"}},
      {"raw_i420.avi", {Make::Ffmpeg, kTwoColours + "-pix_fmt yuv420p -c:v rawvideo"}},
      {"raw_gray.avi", {Make::Ffmpeg, kTwoColours + "-pix_fmt gray -c:v rawvideo"}},
      {"raw_yuyv.mov", {Make::Ffmpeg, kTwoColours + "-pix_fmt yuyv422 -c:v rawvideo"}},
      {"raw_uyvy.mov", {Make::Ffmpeg, kTwoColours + "-pix_fmt uyvy422 -c:v rawvideo"}},
      {"empty.avi", {Make::Empty, ""}},
      {"truncated.avi", {Make::Truncate, "av.avi"}},
      {"truncated.mp4", {Make::Truncate, "av.mp4"}},
      {"random.mpg", {Make::Random, ""}},
      {"noaudiocodec.avi", {Make::PatchAudioTag, "av.avi"}},
      {"novideocodec.avi", {Make::PatchVideoTag, "av.avi"}},
  };
  return recipes;
}

std::string Directory() {
  char exe[4096] = {};
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string dir = length > 0 ? std::string(exe, static_cast<size_t>(length)) : "/tmp/x";
  dir = dir.substr(0, dir.rfind('/')) + "/test-media";
  mkdir(dir.c_str(), 0755);
  return dir;
}

std::string Hash(const std::string& text) {
  uint64_t hash = 1469598103934665603ULL;  // FNV-1a
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(hex, 8);
}

/// In an AVI header, the stream header of `kind` ("auds" or "vids") and the
/// stream format chunk that follows it.
bool FindStream(const std::string& bytes, const char* kind, size_t* header, size_t* format) {
  for (size_t at = bytes.find("strh"); at != std::string::npos; at = bytes.find("strh", at + 4)) {
    if (bytes.compare(at + 8, 4, kind) != 0) continue;
    *header = at + 8;
    *format = bytes.find("strf", at);
    return *format != std::string::npos;
  }
  return false;
}

bool MakeFile(const std::string& name, const Recipe& recipe, const std::string& target) {
  switch (recipe.make) {
    case Make::Ffmpeg: {
      const std::string command =
          "ffmpeg -nostdin -y -loglevel error " + recipe.text + " '" + target + "' > /dev/null 2>&1";
      return std::system(command.c_str()) == 0;
    }
    case Make::Empty: return WriteWholeFile(target, "");
    case Make::Truncate: {
      const std::string bytes = ReadWholeFile(Path(recipe.text));
      return !bytes.empty() && WriteWholeFile(target, bytes.substr(0, bytes.size() * 2 / 5));
    }
    case Make::Halve: {
      const std::string bytes = ReadWholeFile(Path(recipe.text));
      return !bytes.empty() && WriteWholeFile(target, bytes.substr(0, bytes.size() / 2));
    }
    case Make::KeepFifth: {
      const std::string bytes = ReadWholeFile(Path(recipe.text));
      return !bytes.empty() && WriteWholeFile(target, bytes.substr(0, bytes.size() / 5));
    }
    case Make::Join: {
      std::string bytes;
      std::stringstream names(recipe.text);
      for (std::string part; std::getline(names, part, ',');) {
        const std::string clip = ReadWholeFile(Path(part));
        if (clip.empty()) return false;
        bytes += clip;
      }
      return WriteWholeFile(target, bytes);
    }
    case Make::Random: {
      std::string bytes(65536, '\0');
      uint32_t state = 20240601u;
      for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
      }
      return WriteWholeFile(target, bytes);
    }
    case Make::PatchAudioTag:
    case Make::PatchVideoTag: {
      std::string bytes = ReadWholeFile(Path(recipe.text));
      size_t header = 0, format = 0;
      const bool audio = recipe.make == Make::PatchAudioTag;
      if (!FindStream(bytes, audio ? "auds" : "vids", &header, &format)) return false;
      if (audio) {
        bytes[format + 8] = 0x77;  // wFormatTag
        bytes[format + 9] = 0x77;
      } else {
        bytes.replace(header + 4, 4, "QQQQ");       // fccHandler
        bytes.replace(format + 8 + 16, 4, "QQQQ");  // biCompression
      }
      return WriteWholeFile(target, bytes);
    }
  }
  (void)name;
  return false;
}

}  // namespace

std::string Path(const std::string& name) {
  const auto found = Recipes().find(name);
  if (found == Recipes().end()) {
    ADD_FAILURE() << "no test media called " << name;
    return "";
  }
  const Recipe& recipe = found->second;
  const std::string dot = name.substr(name.rfind('.'));
  const std::string stem = name.substr(0, name.rfind('.'));
  const std::string dir = Directory();
  const std::string path =
      dir + "/" + stem + "-" + Hash(std::to_string(static_cast<int>(recipe.make)) + recipe.text) + dot;

  struct stat info;
  if (stat(path.c_str(), &info) == 0) return path;

  const int lock = open((dir + "/.lock-" + stem).c_str(), O_CREAT | O_RDWR, 0644);
  if (lock >= 0) flock(lock, LOCK_EX);
  bool made = stat(path.c_str(), &info) == 0;
  if (!made) {
    const std::string part = path + ".part" + std::to_string(getpid()) + dot;
    made = MakeFile(name, recipe, part) && std::rename(part.c_str(), path.c_str()) == 0;
    if (!made) std::remove(part.c_str());
  }
  if (lock >= 0) {
    flock(lock, LOCK_UN);
    close(lock);
  }
  if (!made) {
    ADD_FAILURE() << "cannot make test media " << name << " (is ffmpeg installed?)";
    return "";
  }
  return path;
}

int FfmpegPictureCount(const std::string& path) {
  const std::string command =
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames "
      "-of csv=p=0 '" +
      path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char line[64] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  const int status = pclose(pipe);
  if (!read || status != 0) return -1;
  char* end = nullptr;
  const long count = std::strtol(line, &end, 10);
  return end != line && count >= 0 ? static_cast<int>(count) : -1;
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const auto& entry : Recipes()) names.push_back(entry.first);
  return names;
}

}  // namespace TestMedia
