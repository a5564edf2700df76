// Decodes an Ogg file completely with the FFmpeg command-line tools, so that
// a test can tell whether what the engine wrote is playable and what it holds:
// `ffprobe -count_frames` for the streams and numbers, then
// `ffmpeg -v error -i FILE -f null -`, whose every line on stderr is a
// decoding error.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct DecodedOggStream {
  std::string codecType;  ///< "video" or "audio"
  std::string codec;      ///< "theora", "vorbis", ...
  std::string pixelFormat;
  int width = 0;
  int height = 0;
  int64_t frames = -1;     ///< frames decoded (video pictures or audio blocks); -1 unknown
  double frameRate = 0.0;  ///< r_frame_rate as a number (0 for audio)
  int sampleRate = 0;
  int channels = 0;
  double durationSeconds = -1.0;  ///< -1 when ffprobe gives none
  /// The stream's comment tags as ffprobe reports them, keys in lower case.
  std::map<std::string, std::string> tags;
};

struct OggDecodeResult {
  bool probed = false;  ///< ffprobe ran and read the file
  std::vector<DecodedOggStream> streams;
  double formatDurationSeconds = -1.0;
  bool decodeErrors = false;  ///< ffmpeg printed something, or failed
  std::string errorText;      ///< what ffprobe or ffmpeg printed on stderr

  const DecodedOggStream* Stream(const std::string& codecType) const;
};

/// Probes and decodes the Ogg file at `path`.
OggDecodeResult DecodeOggFile(const std::string& path);
/// Writes `bytes` to a temporary file, then DecodeOggFile.
OggDecodeResult DecodeOggBytes(const std::vector<uint8_t>& bytes);

/// Encodes one second of a 64×48 test picture at 10 frames per second
/// (Theora) and a 44100 Hz mono sine (Vorbis) into `path`, tagged with the
/// title "Ostrel"; false, with ffmpeg's complaint in `error`, when it fails.
bool WriteTinyTheoraVorbisOgg(const std::string& path, std::string* error);
