// The engine's event: always manual-reset. The label names it in the log only;
// events are never shared between objects.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/keManualResetEvent.h"

/// Wait without a time-out.
constexpr uint32_t keINFINITE = kePlatform::kInfinite;

class keEvent {
 public:
  keEvent(bool initialState, const char* label);
  ~keEvent();
  keEvent(const keEvent&) = delete;
  keEvent& operator=(const keEvent&) = delete;

  /// Blocks until the event is set or `milliseconds` pass (keINFINITE: no
  /// limit). True unless the wait timed out. Does not reset the event.
  bool Wait(uint32_t milliseconds);
  void Set();
  void Reset();
  /// Lets go of the system object. Nothing may wait on or set it afterwards.
  void Close();

 private:
  std::unique_ptr<kePlatform::ManualResetEvent> handle_;
};
