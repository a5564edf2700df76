#include "keThreadedEncoder.h"

#include <new>
#include <system_error>

#include "keAudioSample.h"
#include "platform/keMemoryRoom.h"
#include "platform/keThreadStart.h"
#include "platform/keThreadName.h"
#include "keVideoSample.h"

template <class Sample>
keThreadedEncoder<Sample>::keThreadedEncoder(keEngineContext* context, const std::string& streamName, int32_t serial,
                                             const char* threadName)
    : wrapper_(streamName.c_str(), serial),
      context_(context),
      threadName_(threadName),
      encodingFinished_(false, "encodingFinishedEvent IEncoder"),
      setupCompleted_(false, "setupCompletedEvent") {}

template <class Sample>
keThreadedEncoder<Sample>::~keThreadedEncoder() {
  StopThread();
}

template <class Sample>
std::string keThreadedEncoder<Sample>::GetFailureReason() {
  {
    std::lock_guard<std::mutex> lock(reasonMutex_);
    if (!reason_.empty()) return reason_;
  }
  return wrapper_.GetFailureReason();
}

template <class Sample>
void keThreadedEncoder<Sample>::Fail(const std::string& reason) {
  std::lock_guard<std::mutex> lock(reasonMutex_);
  if (reason_.empty()) reason_ = reason;
  failed_ = true;
}

template <class Sample>
void keThreadedEncoder<Sample>::FailWithoutThrowing(const char* reason, const char* detail) noexcept {
  try {
    Fail(std::string(reason) + detail);
  } catch (const std::bad_alloc&) {
    failed_ = true;  // without its reason: there is no memory for it
  }
}

template <class Sample>
bool keThreadedEncoder<Sample>::IsThreaded() const {
  return context_ == nullptr || context_->mode == 0 || context_->mode == 1;
}

template <class Sample>
void keThreadedEncoder<Sample>::Start() {
  try {
    thread_ = kePlatform::StartThread([this] {
      kePlatform::SetCurrentThreadName(threadName_);
      Run();
    });
  } catch (const std::system_error& error) {
    // Out of threads or memory: the stream fails with the reason and ends
    // at once; what is handed over later is released unencoded.
    FailWithoutThrowing("its encoder thread cannot be started: ", error.what());
    setupCompleted_.Set();
    Finish();
  }
}

template <class Sample>
void keThreadedEncoder<Sample>::Run() {
  try {
    SetUp();
    while (Step()) {
    }
  } catch (const std::bad_alloc&) {
    // A buffer that cannot be had fails the stream, not the process; the
    // samples still queued are released by the closing queue.
    kePlatform::ReleaseMemoryRoom();
    FailWithoutThrowing("there is not enough memory to encode it", "");
    setupCompleted_.Set();
  }
  Finish();
}

template <class Sample>
void keThreadedEncoder<Sample>::SetUp() {
  setUpOk_ = !HasFailed() && Setup();
  setupCompleted_.Set();
}

template <class Sample>
bool keThreadedEncoder<Sample>::Step() {
  keRefCounted* object = queue_.Take();
  if (object == nullptr || object == &endMarker_) {
    if (object) object->Release();
    if (setUpOk_) Drain();
    return false;
  }
  auto* sample = static_cast<Sample*>(object);
  if (setUpOk_) return EncodeStep(sample);
  // A failed encoder still lets go of every sample, so that the source is
  // never left waiting on it.
  const bool last = sample->last;
  sample->Release();
  return !last;
}

template <class Sample>
void keThreadedEncoder<Sample>::Finish() {
  EndWithEmptyPacket();
  // Anything handed over from now on is released at once by the queue.
  queue_.Close();
  finished_ = true;
  encodingFinished_.Set();
}

template <class Sample>
void keThreadedEncoder<Sample>::BeginStream() {
  if (started_ || endCalled_) return;
  started_ = true;
  if (IsThreaded()) Start();
  else SetUp();
}

template <class Sample>
void keThreadedEncoder<Sample>::QueueSample(Sample* sample) {
  if (sample == nullptr) return;
  if (!started_ || endCalled_ || finished_) {
    sample->Release();  // nothing will encode it
    return;
  }
  if (sample->last) lastQueued_ = true;
  queue_.Put(sample);  // a closed queue releases it
  if (!IsThreaded() && !Step()) Finish();
}

template <class Sample>
void keThreadedEncoder<Sample>::EndStream() {
  if (endCalled_) return;
  endCalled_ = true;
  if (!started_) {
    // The source never streamed: there is nothing to wait for, but the
    // stream manager still needs the set-up signal and the stream's end.
    setupCompleted_.Set();
    Finish();
    return;
  }
  if (!lastQueued_) {
    endMarker_.AddRef();
    queue_.Put(&endMarker_);
  }
  if (IsThreaded()) {
    encodingFinished_.Wait(keINFINITE);
    if (thread_.joinable()) thread_.join();
  } else if (!finished_) {
    while (Step()) {
    }
    Finish();
  }
}

template <class Sample>
void keThreadedEncoder<Sample>::StopThread() {
  if (!thread_.joinable()) return;
  queue_.Close();  // a waiting Take returns null and the thread ends the stream
  thread_.join();
}

template <class Sample>
void keThreadedEncoder<Sample>::PacketOut(ogg_packet* packet, int32_t units, bool isKey) {
  if (endOfStreamSent_) return;  // nothing may follow the stream's last page
  if (packet->granulepos >= 0) lastGranule_ = packet->granulepos;
  if (packet->e_o_s) endOfStreamSent_ = true;
  wrapper_.PacketIn(packet, units, isKey);
}

template <class Sample>
void keThreadedEncoder<Sample>::EndWithEmptyPacket() {
  if (endOfStreamSent_) return;
  static unsigned char nothing = 0;
  ogg_packet packet{};
  packet.packet = &nothing;
  packet.bytes = 0;
  packet.e_o_s = 1;
  packet.granulepos = lastGranule_;
  PacketOut(&packet, 0, false);
}

template class keThreadedEncoder<keAudioSample>;
template class keThreadedEncoder<keVideoSample>;
