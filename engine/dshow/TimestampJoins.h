// Files whose time stamps may start over (MPEG transport and program
// streams: clips joined byte for byte, a recording across a clock reset) are
// followed as FFmpeg's command line follows them: a jump back, or forward by
// more than kLargestTimestampGap, is a join, and the times after it are
// shifted so that the stream goes on where it was. Without that, the second
// clip would lie on the first one's times (cut as overlap, or held as a
// frozen picture and silence across the gap) and the encode would end at the
// first clip's length.
//
// Each stream of a run reads the file on its own, so every stream finds the
// same joins in the same order. The first stream to reach a join fixes its
// shift for all (TimestampJoins), so that picture and sound stay together
// after it.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "FfmpegHandles.h"

/// A forward step in the times larger than this (100-ns units) is a join, not
/// a hole in the data; FFmpeg takes the same 10 s for such files.
constexpr int64_t kLargestTimestampGap = 100000000;

/// The shifts of the joins of each file of one run, shared by its streams.
class TimestampJoins {
 public:
  void Clear();
  /// The total shift (100-ns units) after join number `ordinal` (0 is the
  /// first) of the file `path`: the first stream to ask fixes it at
  /// `proposed`; the others get that value.
  int64_t ShiftAfter(const std::string& path, size_t ordinal, int64_t proposed);
  /// The shifts fixed so far for `path`, in the order of its joins.
  std::vector<int64_t> Shifts(const std::string& path);
  /// Fixes the shifts of `path`'s joins in advance (as a reading of the
  /// whole file found them), so that its streams follow them whichever of
  /// them reaches a join first; joins beyond these are fixed as they come.
  void Preset(const std::string& path, std::vector<int64_t> shifts);

 private:
  std::mutex mutex_;
  std::map<std::string, std::vector<int64_t>> shifts_;
};

/// One stream's view: shifts its packets' times across the file's joins.
class JoinedStreamTimes {
 public:
  /// `joins` may be null: the times are then left as they are.
  JoinedStreamTimes(TimestampJoins* joins, std::string path, AVRational timeBase);
  /// Shifts `packet`'s times past every join met so far, finding a new one
  /// where its time jumps.
  void Follow(AVPacket* packet);

 private:
  TimestampJoins* joins_;
  std::string path_;
  AVRational timeBase_;
  size_t joinsMet_ = 0;
  int64_t shift_ = 0;
  bool seen_ = false;
  /// The latest shifted decoding time, and where the stream is expected to
  /// go on (that time plus the packet's duration), 100-ns units.
  int64_t latest_ = 0;
  int64_t expected_ = 0;
};
