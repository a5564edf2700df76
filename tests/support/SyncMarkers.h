// Finds, in one profile's Ogg bytes, where the picture turns from dark to
// bright and where the sound turns from silence to a loud tone, as a player
// lays them out: the picture by Theora frame (every packet is one frame, and
// an empty one repeats the last picture), the sound by decoded sample. The
// FFmpeg command-line tool decodes: every picture shrunk to 8x8 grey and
// averaged, the sound mixed down to mono 16-bit samples at its own rate.
// Positions are counted, not read from timestamps, so a stream that skips or
// stretches time shows up as a shifted marker.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SyncMarkers {
  bool decoded = false;           ///< both streams were found and decoded in full
  std::string errorText;          ///< what went wrong, or what ffprobe or ffmpeg complained about
  int64_t frames = 0;             ///< Theora frames, repeats included
  int64_t firstBrightFrame = -1;  ///< first frame brighter than mid-grey; -1 none
  int sampleRate = 0;
  int64_t samples = 0;           ///< samples per channel decoded
  int64_t firstLoudSample = -1;  ///< first sample past a quarter of full scale; -1 none
};

SyncMarkers FindSyncMarkers(const std::vector<uint8_t>& oggBytes);
