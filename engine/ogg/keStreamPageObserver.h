// What a stream manager tells those who watch its pages go by: its seek index
// first of all. All calls come from the manager's thread, in this order:
// OnStreamStart once, OnHeaderSize once after the header pages, AddEntry for
// every key page before it is written, Close once at the end.
#pragma once

#include <cstdint>

class keStreamPageObserver {
 public:
  virtual ~keStreamPageObserver() = default;
  virtual void OnStreamStart() {}
  /// `bytes`: what the header pages of every stream came to.
  virtual void OnHeaderSize(int64_t /*bytes*/) {}
  /// A key page of stream `serial` starts `offset` bytes into the content;
  /// its key packet's first unit is at `keyPosition`, `timeMs` into the stream.
  virtual void AddEntry(int64_t offset, uint32_t serial, int64_t keyPosition, int64_t timeMs) = 0;
  /// Every page has been written.
  virtual void Close() = 0;
};
