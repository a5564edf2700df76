// A media file opened with libavformat, and what its container states about
// its audio and video streams. Attached pictures (cover art) are not streams
// here; subtitle and data streams are left out as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FfmpegHandles.h"
#include "MediaResult.h"

enum class StreamKind { Audio, Video };

struct MediaFileStream {
  /// The stream's index in the container.
  int index = -1;
  StreamKind kind = StreamKind::Audio;
};

class MediaFile {
 public:
  /// Opens and probes `path`: S_OK, or MG_E_CANNOT_OPEN_FILE with a reason.
  HRESULT Open(const std::string& path);
  bool IsOpen() const { return context_ != nullptr; }
  /// Why Open failed (empty after success).
  const std::string& FailureReason() const { return failureReason_; }

  AVFormatContext* Context() const { return context_.get(); }
  /// The audio and video streams in container order.
  const std::vector<MediaFileStream>& Streams() const { return streams_; }
  AVStream* Stream(size_t i) const { return context_->streams[streams_[i].index]; }

  /// Where stream `i` ends on the file's timeline (see Origin), in seconds:
  /// a stream that starts late is as long as the part of the timeline it
  /// reaches. The container's end stands in when the stream states no
  /// length; false when neither is known.
  bool StreamLength(size_t i, double* seconds) const;
  /// The container's times may start over within the file (MPEG transport
  /// and program streams): see TimestampJoins.
  bool HasDiscontinuousTimes() const { return (context_->iformat->flags & AVFMT_TS_DISCONT) != 0; }
  /// The frame rate that the container states for video stream `i`; false
  /// when it states none.
  bool StatedFrameRate(size_t i, double* fps) const;
  /// The origin of the file's timeline, in 100-ns units of the container's
  /// clock: where its first video stream starts, so that media time 0 is the
  /// first picture and every stream is laid out from there (audio that
  /// starts later is preceded by silence, audio before it is cut). Without a
  /// video stream, or when the video states no start, the earliest start of
  /// the file's streams.
  int64_t Origin() const;

 private:
  /// The earliest start of the file's streams, 100-ns units (0 when unknown).
  int64_t FileStart() const;

  FormatContextPtr context_;
  std::vector<MediaFileStream> streams_;
  std::string failureReason_;
};

/// A decoder opened for `stream`; null when none exists or it fails to open.
CodecContextPtr OpenDecoder(const AVStream* stream);

/// `size` made even: odd sizes of 3 and more lose their last row or column,
/// a size of 1 becomes 2 (the single row or column is stretched), 0 stays 0.
int EvenPictureSize(int size);

/// 100-ns units per second.
constexpr int64_t kUnitsPerSecond = 10000000;
