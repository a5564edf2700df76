#include "DataEndScan.h"

#include <algorithm>
#include <memory>

#include "MediaFile.h"
#include "TimestampJoins.h"

namespace {

constexpr AVRational kUnits = {1, static_cast<int>(kUnitsPerSecond)};

/// The one file of a scan, as TimestampJoins names it.
const char* const kScannedFile = "";

/// One stream's packets as they pass.
class StreamEnd {
 public:
  StreamEnd(const AVStream& stream, TimestampJoins* joins) : stream_(stream) {
    if (joins) joined_ = std::make_unique<JoinedStreamTimes>(joins, kScannedFile, stream.time_base);
  }

  void Add(AVPacket* packet) {
    if (joined_) joined_->Follow(packet);
    int64_t shown = packet->pts;
    if (packet->dts != AV_NOPTS_VALUE) {
      // A packet that states no presentation time (the last ones of an MPEG
      // stream, often) is shown as long after its decoding as the one before.
      if (shown != AV_NOPTS_VALUE) delay_ = shown - packet->dts;
      else shown = packet->dts + delay_;
    }
    if (shown == AV_NOPTS_VALUE) return;
    const int64_t end = av_rescale_q(shown + Duration(*packet), stream_.time_base, kUnits);
    end_ = timed_ ? std::max(end_, end) : end;
    timed_ = true;
  }

  /// -1 when no packet stated a time.
  int64_t End(int64_t origin) const { return timed_ ? std::max<int64_t>(0, end_ - origin) : -1; }

 private:
  /// The packet's own length, or one frame at the stated rate for a video
  /// packet that states none.
  int64_t Duration(const AVPacket& packet) const {
    if (packet.duration > 0) return packet.duration;
    if (stream_.codecpar->codec_type != AVMEDIA_TYPE_VIDEO) return 0;
    AVRational rate = stream_.avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = stream_.r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) return 0;
    return av_rescale_q(1, av_inv_q(rate), stream_.time_base);
  }

  const AVStream& stream_;
  std::unique_ptr<JoinedStreamTimes> joined_;
  int64_t delay_ = 0;
  int64_t end_ = 0;
  bool timed_ = false;
};

}  // namespace

DataEndScan ScanDataEnd(MediaFile& file, const std::atomic<bool>* stop) {
  DataEndScan scan;
  AVFormatContext* context = file.Context();
  if (!context) return scan;
  int audio = -1;
  int video = -1;
  for (const MediaFileStream& stream : file.Streams()) {
    int& first = stream.kind == StreamKind::Audio ? audio : video;
    if (first < 0) first = stream.index;
  }
  for (unsigned i = 0; i < context->nb_streams; ++i)
    if (static_cast<int>(i) != audio && static_cast<int>(i) != video) context->streams[i]->discard = AVDISCARD_ALL;

  TimestampJoins joins;
  TimestampJoins* followed = file.HasDiscontinuousTimes() ? &joins : nullptr;
  std::unique_ptr<StreamEnd> videoEnd, audioEnd;
  if (video >= 0) videoEnd = std::make_unique<StreamEnd>(*context->streams[video], followed);
  if (audio >= 0) audioEnd = std::make_unique<StreamEnd>(*context->streams[audio], followed);

  PacketPtr packet(av_packet_alloc());
  if (!packet) return scan;
  while ((!stop || !*stop) && av_read_frame(context, packet.get()) >= 0) {
    if (packet->stream_index == video) videoEnd->Add(packet.get());
    else if (packet->stream_index == audio) audioEnd->Add(packet.get());
    av_packet_unref(packet.get());
  }
  const int64_t origin = file.Origin();
  if (videoEnd) scan.videoEnd = videoEnd->End(origin);
  if (audioEnd) scan.audioEnd = audioEnd->End(origin);
  scan.joinShifts = joins.Shifts(kScannedFile);
  return scan;
}
