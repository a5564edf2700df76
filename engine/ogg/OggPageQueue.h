// The FIFO of finished pages between one encoder thread (the only producer)
// and its stream manager's thread (the only consumer).
//
// Put never blocks. Take and Peek block without a time-out until a page is
// there: a stream is over only when its end-of-stream page has been taken, so
// an encoder must end its stream with such a page, even when it fails.
#pragma once

#include <deque>
#include <string>

#include "keEvent.h"
#include "keLog.h"
#include "keMutex.h"

class keOggPage;

class OggPageQueue {
 public:
  /// `streamName` labels the log ("Vorbis", "Theora", ...).
  explicit OggPageQueue(const char* streamName);
  /// Deletes every page still queued.
  ~OggPageQueue();
  OggPageQueue(const OggPageQueue&) = delete;
  OggPageQueue& operator=(const OggPageQueue&) = delete;

  /// Appends a page; the queue owns it until it is taken.
  void Put(keOggPage* page);
  /// Appends the stream's last page without allocating, so that a stream
  /// whose pages could not all be made for want of memory still ends: it is
  /// taken after every page put before it. Once per stream.
  void PutLast(keOggPage* page) noexcept;
  /// Removes and returns the front page (the caller owns it); blocks.
  keOggPage* Take();
  /// The front page, still owned by the queue; blocks. It stays valid until
  /// the page is taken.
  keOggPage* Peek();

  /// The same without waiting: null when the queue is empty.
  keOggPage* TryTake();
  keOggPage* TryPeek();
  /// Blocks until at least one page is queued.
  void WaitForPage();

  size_t GetCount();

 private:
  std::deque<keOggPage*> pages_;
  keOggPage* last_ = nullptr;  ///< PutLast's page, behind pages_
  keEvent newPage_;
  keMutex mutex_;
  keLog* log_;
};
