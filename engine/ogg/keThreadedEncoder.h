// The thread and hand-offs that the Vorbis and Theora encoders share.
//
// A source's streaming thread calls the listener side: BeginStream (OnStart),
// QueueSample (OnSample) and EndStream (OnEndOfStream). Samples go into a
// queue of 10 (QueueSample blocks while it is full); the encoder's own thread
// sets the codec up, signals set-up-completed (the stream manager reads the
// header pages only then), takes the samples one by one and encodes them into
// the Ogg wrapper, from which the stream manager takes the pages.
//
// Every sample handed to QueueSample is released exactly once, whatever
// happens: encoded and released by the thread, released at once when nothing
// will encode it any more (before the stream started, after it ended), or
// released by the closed queue.
//
// The stream always ends, so that the stream manager and the output finish:
// - normally, with the packets of the sample flagged `last`;
// - when the codec refused its settings: the encoder is marked failed
//   (HasFailed, GetFailureReason), set-up-completed is signalled with no
//   header pages, samples are taken and released, and an empty packet
//   flagged end-of-stream ends the stream;
// - when the stream never started (no OnStart): EndStream signals
//   set-up-completed and ends the stream at once, without a thread;
// - when EndStream comes without a sample flagged `last`: a marker queued
//   behind the samples ends it after they are encoded;
// - when the encoder is destroyed with its thread still waiting: the queue
//   is closed and the thread ends the stream before it is joined.
//
// Deadlock rules: EndStream waits without a time-out for the thread, which
// needs only the samples already queued. The thread blocks only on the queue
// and on the wrapper's mutex.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <ogg/ogg.h>

#include "OggStreamStateWrapper.h"
#include "RefCountObjectBlockingQueue.h"
#include "keEngineContext.h"
#include "keEvent.h"
#include "keLog.h"
#include "keOggStreamInterfaces.h"
#include "keRefCounted.h"

template <class Sample>
class keThreadedEncoder : public keEncoderStream {
 public:
  ~keThreadedEncoder() override;
  keThreadedEncoder(const keThreadedEncoder&) = delete;
  keThreadedEncoder& operator=(const keThreadedEncoder&) = delete;

  keEvent& GetSetupCompletedEvent() override { return setupCompleted_; }
  keOggPageSource* GetPageSource() override { return &wrapper_; }
  /// The codec refused, or the Ogg framing refused a packet.
  bool HasFailed() override { return failed_.load() || wrapper_.HasFailed(); }
  std::string GetFailureReason() override;

  /// Runs Run() on a thread of its own.
  void Start();
  /// Sets the codec up, encodes every queued sample until the stream ends,
  /// then signals encoding-finished.
  void Run();

  /// True once the source started the stream (OnStart); an encoder whose
  /// source never streamed wrote nothing but an empty end of stream.
  bool HasStreamed() const { return started_.load(); }

  /// Set once the stream has ended and every sample has been released.
  keEvent& GetEncodingFinishedEvent() { return encodingFinished_; }

 protected:
  /// `context` may be null (threads are used then). `threadName` must stay
  /// valid for the encoder's lifetime.
  keThreadedEncoder(keEngineContext* context, const std::string& streamName, int32_t serial, const char* threadName);

  void BeginStream();
  void QueueSample(Sample* sample);
  void EndStream();
  /// Ends and joins the thread. Derived destructors call it first, while the
  /// state the thread uses still exists.
  void StopThread();

  /// Marks the encoder failed; the first reason given is kept.
  void Fail(const std::string& reason);
  /// Fail with `reason` and `detail` joined, where memory may have run out:
  /// without the memory for the text the stream still fails.
  void FailWithoutThrowing(const char* reason, const char* detail) noexcept;
  /// Passes a data packet on to the wrapper, noting its granule position and
  /// whether it ended the stream.
  void PacketOut(ogg_packet* packet, int32_t units, bool isKey);
  /// Ends the stream with an empty packet flagged end-of-stream, unless a
  /// packet already ended it.
  void EndWithEmptyPacket();
  bool IsThreaded() const;

  /// Writes the header packets; false (after Fail) when the codec refuses.
  virtual bool Setup() = 0;
  /// Encodes one sample and releases it; false after the sample flagged last.
  virtual bool EncodeStep(Sample* sample) = 0;
  /// Encodes what the codec still holds when the input ended without a
  /// sample flagged last.
  virtual void Drain() = 0;

  OggStreamStateWrapper wrapper_;
  keEngineContext* context_;

 private:
  /// Stands in the queue for "no more samples"; owned by the encoder.
  class EndMarker : public keRefCounted {
   protected:
    void OnZeroRef() override {}
  };

  void SetUp();
  /// Takes and handles one queued object; false once the stream has ended.
  bool Step();
  void Finish();

  const char* threadName_;
  EndMarker endMarker_;  // declared before the queue, which may still hold it
  RefCountObjectBlockingQueue queue_;
  keEvent encodingFinished_;
  keEvent setupCompleted_;
  std::thread thread_;
  std::atomic<bool> failed_{false};
  std::mutex reasonMutex_;
  std::string reason_;
  bool setUpOk_ = false;
  bool endOfStreamSent_ = false;
  int64_t lastGranule_ = 0;
  // Listener-side state, touched only by the streaming thread.
  std::atomic<bool> started_{false};
  bool endCalled_ = false;
  bool lastQueued_ = false;
  std::atomic<bool> finished_{false};
};
