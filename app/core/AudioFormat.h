// The Vorbis sample rate and channel count that go with an audio bitrate:
// the lower the bitrate, the fewer samples and channels it has to carry.
#pragma once

struct AudioFormat {
  int sampleRate;
  int channels;
};

/// The format used for an audio bitrate in kbit/s.
AudioFormat AudioFormatForBitrate(int kbps);
