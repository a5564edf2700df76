// Answers questions about a media file's streams without running a graph:
// how many audio and video streams it has (attached pictures such as an MP3's
// cover art are not video streams), and for each its major type, the media
// type a graph would first offer for it (OfferedMediaTypes.h, so a video's
// size is the even size it is delivered at), its length and its frame rate.
#pragma once

#include <cstdint>
#include <string>

#include "DataEndScan.h"
#include "MediaFile.h"
#include "MediaResult.h"
#include "MediaType.h"
#include "platform/keGuid.h"

class MediaDetector {
 public:
  /// Opens `path`: S_OK, or MG_E_CANNOT_OPEN_FILE (FailureReason tells why).
  /// Selects stream 0.
  HRESULT SetFilename(const std::string& path);
  const std::string& FailureReason() const { return file_.FailureReason(); }
  /// The file's times may start over (see TimestampJoins): its stated
  /// lengths say little about how much it holds.
  bool HasDiscontinuousTimes() const { return file_.IsOpen() && file_.HasDiscontinuousTimes(); }

  /// The number of audio and video streams; MG_E_WRONG_STATE before a file
  /// was opened.
  HRESULT GetOutputStreams(int32_t* count) const;
  /// Selects the stream the next questions are about: MG_E_NO_STREAM when out
  /// of range.
  HRESULT SetCurrentStream(int32_t stream);
  /// MEDIATYPE_Audio or MEDIATYPE_Video.
  HRESULT GetStreamType(keGuid* majorType) const;
  /// The full media type: 16-bit PCM at the stream's channels and rate with
  /// the WaveFormatEx fields, or a video subtype with the VideoInfoHeader fields.
  HRESULT GetStreamMediaType(MediaType* type) const;
  /// The picture size the file states for the current video stream, odd
  /// sizes as they are (the offered media type has them made even); E_FAIL
  /// (and 0) for an audio stream.
  HRESULT GetPictureSize(int32_t* width, int32_t* height) const;
  /// Length in seconds: S_OK, or S_FALSE (and -1.0) when the file states none.
  HRESULT GetStreamLength(double* seconds) const;
  /// Frames per second: S_OK, or S_FALSE (and 0.0) when the file states no
  /// rate; E_FAIL (and 0.0) for an audio stream.
  HRESULT GetFrameRate(double* fps) const;
  /// Where the data of the streams an encode decodes end, found by reading
  /// the whole file (DataEndScan.h). Ask last: the file is read to its end.
  /// E_ABORT when `stop` turned true before the end was reached.
  HRESULT ScanDataEnd(DataEndScan* scan, const std::atomic<bool>* stop = nullptr);

 private:
  HRESULT CheckCurrent() const;

  MediaFile file_;
  int32_t current_ = 0;
};
