#include "TimestampJoins.h"

#include <algorithm>

#include "MediaFile.h"

namespace {

constexpr AVRational kUnits = {1, static_cast<int>(kUnitsPerSecond)};

/// A step back by more than this is a join; less is the jitter of a muxer.
constexpr int64_t kLargestStepBack = kUnitsPerSecond / 10;

}  // namespace

void TimestampJoins::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  shifts_.clear();
}

int64_t TimestampJoins::ShiftAfter(const std::string& path, size_t ordinal, int64_t proposed) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<int64_t>& shifts = shifts_[path];
  if (ordinal < shifts.size()) return shifts[ordinal];
  // A stream that met a join the others did not see is on its own from here.
  if (ordinal > shifts.size()) return proposed;
  shifts.push_back(proposed);
  return proposed;
}

std::vector<int64_t> TimestampJoins::Shifts(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = shifts_.find(path);
  return found == shifts_.end() ? std::vector<int64_t>() : found->second;
}

void TimestampJoins::Preset(const std::string& path, std::vector<int64_t> shifts) {
  std::lock_guard<std::mutex> lock(mutex_);
  shifts_[path] = std::move(shifts);
}

JoinedStreamTimes::JoinedStreamTimes(TimestampJoins* joins, std::string path, AVRational timeBase)
    : joins_(joins), path_(std::move(path)), timeBase_(timeBase) {}

void JoinedStreamTimes::Follow(AVPacket* packet) {
  if (!joins_) return;
  const int64_t stamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
  if (stamp == AV_NOPTS_VALUE) return;
  int64_t time = av_rescale_q(stamp, timeBase_, kUnits) + shift_;
  if (seen_ && (time + kLargestStepBack < latest_ || time - expected_ > kLargestTimestampGap)) {
    shift_ = joins_->ShiftAfter(path_, joinsMet_++, shift_ + expected_ - time);
    time = av_rescale_q(stamp, timeBase_, kUnits) + shift_;
  }
  seen_ = true;
  latest_ = time;
  const int64_t duration = packet->duration > 0 ? av_rescale_q(packet->duration, timeBase_, kUnits) : 0;
  expected_ = std::max(expected_, time + duration);
  if (shift_ == 0) return;
  const int64_t shift = av_rescale_q(shift_, kUnits, timeBase_);
  if (packet->pts != AV_NOPTS_VALUE) packet->pts += shift;
  if (packet->dts != AV_NOPTS_VALUE) packet->dts += shift;
}
