// Decodes the Theora stream of an Ogg file with libtheora's own decoder (the
// reference the format is defined by), so that a test can tell whether a
// stream is valid Theora apart from what FFmpeg's decoder accepts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TheoraDecodeResult {
  bool headersDecoded = false;  ///< the three header packets were accepted
  int frameWidth = 0;           ///< the coded frame, a multiple of 16
  int frameHeight = 0;
  int pictureWidth = 0;  ///< the picture region within it
  int pictureHeight = 0;
  int64_t frames = 0;  ///< data packets decoded without an error
  int64_t errors = 0;  ///< data packets the decoder refused
};

/// Decodes every packet of the first Theora stream in `oggBytes`.
TheoraDecodeResult DecodeTheoraWithLibtheora(const std::vector<uint8_t>& oggBytes);
