// Every byte the engine produces leaves through a keOutputStream: the
// container file, a temporary file per content, a stream manager's byte
// counter, and the crx stream in front of each temporary file.
//
// Closing is a one-way signal: once a stream is closed, WaitClosed returns at
// once on every thread, so the output thread can wait for a content's data to
// be complete. A stream that cannot write (it could not be opened, or a write
// came up short) stays usable, writes nothing further, and says so through
// HasFailed and GetFailureReason: the encode reports it instead of success.
#pragma once

#include <cstdint>
#include <string>

#include "keEvent.h"

class keOutputStream {
 public:
  /// A hook every stream implements as doing nothing (the crx stream passes
  /// it on to its inner stream).
  virtual void Prepare() = 0;
  virtual int64_t GetBytesWritten() = 0;
  virtual bool IsClosed() = 0;
  /// Blocks until the stream is closed.
  virtual void WaitClosed() = 0;
  virtual void Write(const uint8_t* data, int32_t length) = 0;
  /// Lengthens a container to at least headerSize + 512 KiB (file streams).
  virtual void Pad(uint32_t headerSize) = 0;
  virtual void Close() = 0;
  virtual ~keOutputStream() = default;

  virtual bool HasFailed() = 0;
  virtual std::string GetFailureReason() = 0;
};

/// Counts bytes and signals closing; the base of the file and counting streams.
class AbstractOutputStream : public keOutputStream {
 public:
  AbstractOutputStream();
  ~AbstractOutputStream() override;

  void Prepare() override {}
  int64_t GetBytesWritten() override { return bytesWritten_; }
  bool IsClosed() override { return closed_; }
  void WaitClosed() override;
  bool HasFailed() override { return !failure_.empty(); }
  std::string GetFailureReason() override { return failure_; }

  /// Marks the stream closed and wakes every WaitClosed.
  virtual void SetClosed();

 protected:
  /// Records the first failure; later ones keep the first reason.
  void SetFailed(const std::string& reason);

  int64_t bytesWritten_ = 0;

 private:
  bool closed_ = false;
  keEvent closedEvent_;
  std::string failure_;
};
