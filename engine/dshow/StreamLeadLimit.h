// Keeps the streams of one graph run within a set lead of each other.
//
// Every stream decodes on its own thread over its own reader of the file, so
// nothing ties one stream's pace to another's: left alone, a cheap stream
// (the audio) reaches the end of the file while an expensive one (the video)
// is still near its start, and whatever the listeners make of the fast
// stream waits in memory for the slow one, more the longer the file.
//
// Before a stream delivers a sample it waits while that sample starts more
// than the lead after the sample the furthest-behind other stream delivers
// next (or is delivering). The stream furthest behind never waits, so a run
// keeps moving as long as its renderers accept samples; a stream that has
// ended holds back nobody. A stream that has not delivered yet counts as at
// the run's start.
//
// Threads: Reset and Join before the run's threads start (the graph's
// controlling thread); WaitToDeliver and Leave on each stream's own thread;
// WakeAll from any thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

class StreamLeadLimit {
 public:
  /// Starts a run of `streams` streams, every one at 0. `lead` is in 100-ns
  /// units; 0 or less lets every stream go as fast as it can.
  void Reset(int64_t lead, size_t streams);
  /// The slot of the next stream of the run, in order of creation; -1 when
  /// every slot is taken (that stream is not held back).
  int Join();
  /// Records that stream `slot` is about to deliver a sample starting at
  /// `start` and waits until that is within the lead. False when
  /// `stopRequested` turned true while waiting (the caller sets it, then
  /// calls WakeAll).
  bool WaitToDeliver(int slot, int64_t start, const std::atomic<bool>& stopRequested);
  /// Stream `slot` delivers nothing more.
  void Leave(int slot);
  /// Wakes every waiter to look at its stop flag again.
  void WakeAll();

 private:
  /// True when `slot` may deliver at `start`. The caller holds mutex_.
  bool WithinLeadLocked(int slot, int64_t start) const;

  struct Slot {
    int64_t next = 0;
    bool active = true;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  size_t joined_ = 0;
  int64_t lead_ = 0;
};
