// A manual-reset event: once set it stays set, releasing every waiter, until
// it is reset.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kePlatform {

/// Wait without a time-out.
constexpr uint32_t kInfinite = 0xFFFFFFFFu;

class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initialState) : signalled_(initialState) {}
  ManualResetEvent(const ManualResetEvent&) = delete;
  ManualResetEvent& operator=(const ManualResetEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  /// Blocks until the event is set or `milliseconds` pass (kInfinite: no
  /// limit). Returns true when the event is set, false on time-out.
  bool Wait(uint32_t milliseconds);

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_;
};

}  // namespace kePlatform
