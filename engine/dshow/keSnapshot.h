// One picture of a media file written as a JPEG image.
#pragma once

#include <string>

/// Decodes the first picture of the file's first video stream at or after
/// `seconds` (the first picture when the file cannot seek there), and writes
/// it to `target` as a full-range JPEG. False when the file has no picture
/// to give or the image cannot be encoded or written.
bool keSaveSnapshotJpeg(const std::string& source, double seconds, const std::string& target);
