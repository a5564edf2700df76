// The keys of the main window's saved settings under "/Controls", in the
// order they are written and read: eight texts, six ticks, then nine row
// groups of seven texts.
#pragma once

#include "StreamProfileRows.h"

constexpr const char* kSettingsGroup = "/Controls";
/// A row's group is this followed by the row number, 0 to 8.
constexpr const char* kSettingsRowGroupPrefix = "/Controls/encode";

constexpr int kSettingsTextKeyCount = 8;
constexpr int kSettingsTickKeyCount = 6;

/// Input and output paths, start and end time, crop top, right, bottom, left.
extern const char* const kSettingsTextKeys[kSettingsTextKeyCount];
/// What a missing text key gives.
extern const char* const kSettingsTextDefaults[kSettingsTextKeyCount];
/// Deinterlace, aspect ratio, source dimension, HTML page, show video, toolbar.
extern const char* const kSettingsTickKeys[kSettingsTickKeyCount];
/// One key per grid column, in column order.
extern const char* const kSettingsRowKeys[kStreamColumnCount];
