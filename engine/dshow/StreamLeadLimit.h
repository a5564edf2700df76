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
// the run's start. A stream whose data end early may wait for the others to
// go on (WaitForOthers), to be continued as far as they reach, so that the
// run's streams end together.
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
  /// Stream `slot` delivers nothing more; `end` is where its last sample
  /// ended (what the streams still running may be continued to).
  void Leave(int slot, int64_t end = 0);
  /// For a stream that reached the end of its data before the others: waits
  /// until another stream has got beyond `reached` (the sample it delivers
  /// next starts later, or it left after that), or every other stream has
  /// left or is at the end of its own data too. Returns the furthest of
  /// them; `*othersLeft` tells whether that is final. Meanwhile `slot` counts as at `reached`, so that the others are
  /// held back by it as by any stream. Returns `reached` at once when the
  /// slot is not joined or `stopRequested` is set.
  int64_t WaitForOthers(int slot, int64_t reached, const std::atomic<bool>& stopRequested, bool* othersLeft);
  /// Wakes every waiter to look at its stop flag again.
  void WakeAll();

 private:
  /// True when `slot` may deliver at `start`. The caller holds mutex_.
  bool WithinLeadLocked(int slot, int64_t start) const;

  /// The furthest position of the slots other than `slot`, and whether they
  /// have all left. The caller holds mutex_.
  int64_t FurthestOtherLocked(int slot, bool* othersLeft) const;

  struct Slot {
    int64_t next = 0;
    bool active = true;
    /// In WaitForOthers: at the end of its data, going on only as far as
    /// the others go (so it waits for none of them in turn).
    bool dataEnded = false;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  size_t joined_ = 0;
  int64_t lead_ = 0;
};
