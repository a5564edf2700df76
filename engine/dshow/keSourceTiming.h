// The reader's rules for the frame rate and the end time it takes from the
// media detector's answers.
#pragma once

#include <functional>
#include <string>

#include "MediaResult.h"

/// Rates above this are taken for a clock rate that a container reports in
/// place of its frame rate (a time scale of 600 or 1000), not for a rate of
/// pictures: such a stream's rate is measured. Genuine rates of 50 and 60
/// frames per second (and twice that) are kept as they are.
constexpr double kHighestStatedFrameRate = 120.0;

/// The frame rate used when none can be had.
constexpr double kDefaultFrameRate = 25.0;

struct keFrameRateChoice {
  double frameRate = kDefaultFrameRate;
  /// The stated or measured rate before the fallback to 25 (0 or not a
  /// number when neither gave one): what the application's probe shows.
  double foundRate = 0.0;
  /// The file states no rate (the detector answered S_FALSE): its times
  /// cannot be trusted for seeking, so the filters keep the range themselves.
  bool rateMeasured = false;
};

/// The reader and the application's probe both decide with this, so that the
/// rate the window shows is the rate the video is encoded at.
/// From the detector's frame-rate answer (`result`, `statedRate`): a stated
/// rate of 0 or less, or no stated rate, or an implausible one, is measured
/// with `measure` (when no rate was stated, only when the rate is then 0 or
/// less); a rate that is still 0 or less, or not a number, becomes 25.
keFrameRateChoice keChooseFrameRate(HRESULT result, double statedRate, const std::function<double()>& measure);

/// Why a range that starts at `startText` seconds (as the user gave it)
/// leaves nothing to encode: `what` ("the end of the source", "the source's
/// last picture") lies at `seconds`. The one wording for the check before
/// an encode and for the reader that finds it while decoding.
std::string keStartPastEndText(const std::string& startText, const std::string& what, double seconds);

/// The length a file declares for an encode, in seconds, from its stream
/// lengths (-1.0 where a length cannot be read): the longer of the two known
/// lengths, as the stream that ends first is continued to the other's end;
/// the only known one when just one is, -1.0 when neither is.
double keChooseEndTime(double videoLength, double audioLength);

/// Sound that runs on past the last picture by no more than this (seconds)
/// is what an audio codec pads its last block with (a block of up to 2048
/// samples, at rates down to 8000 Hz), not a part of the source.
constexpr double kSoundPaddingSeconds = 0.25;

/// Where an encode without an end time ends, in seconds, from where the
/// data of the video and of the audio end (-1.0 for a stream without any):
/// where the later of them ends, as the one that ends first is continued to
/// the other's end; but no picture is added for sound that runs on past the
/// last one by kSoundPaddingSeconds or less. -1.0 when neither is known.
double keChooseDataEnd(double videoEnd, double audioEnd);
