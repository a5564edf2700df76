// The nine rows of stream profiles, as the streams grid holds them: seven text
// cells each (encode flag, name, width, height, frame rate, video kbit/s,
// audio kbit/s). A row is in use when its name is not empty and selected for
// encoding when its encode cell is not empty.
#pragma once

#include <array>
#include <string>

constexpr int kStreamRowCount = 9;
constexpr int kStreamColumnCount = 7;

enum StreamColumn {
  kColumnEncode = 0,
  kColumnName = 1,
  kColumnWidth = 2,
  kColumnHeight = 3,
  kColumnFrameRate = 4,
  kColumnVideoBitrate = 5,
  kColumnAudioBitrate = 6,
};

using StreamProfileRow = std::array<std::string, kStreamColumnCount>;
using StreamProfileRows = std::array<StreamProfileRow, kStreamRowCount>;

/// The five factory profiles in rows 0 to 4 (only "ADSL1" selected), the other
/// rows empty.
StreamProfileRows FactoryStreamProfileRows();
