#include "SavedSettingsKeys.h"

const char* const kSettingsTextKeys[kSettingsTextKeyCount] = {
    "inputVideo",   "outputVideo",    "videoStart",      "videoEnd",
    "videoCropTop", "videoCropRight", "videoCropBottom", "videoCropLeft",
};

const char* const kSettingsTextDefaults[kSettingsTextKeyCount] = {
    "", "", "0", "0", "0", "0", "0", "0",
};

const char* const kSettingsTickKeys[kSettingsTickKeyCount] = {
    "deInterlace", "mAspectRatio", "mSourceDimension", "generateHTMLpage", "showVideo", "gToolBar",
};

const char* const kSettingsRowKeys[kStreamColumnCount] = {
    "encode", "stream", "width", "height", "fps", "videobitrate", "audiobitrate",
};
