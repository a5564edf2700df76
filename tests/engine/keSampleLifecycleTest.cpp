// Samples, their factories and the listener hubs: reference counting, the
// zero event, and one reused sample per factory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keAudioSample.h"
#include "keAudioSampleFactory.h"
#include "keAudioSource.h"
#include "keRefCounted.h"
#include "keVideoSample.h"
#include "keVideoSampleFactory.h"
#include "keVideoSource.h"

namespace {

// Notes, at the moment OnZeroRef runs, whether the zero event was already set.
class ProbeCounted : public keRefCounted {
 public:
  int zeroCalls = 0;
  bool eventSetAtZero = false;

 protected:
  void OnZeroRef() override {
    ++zeroCalls;
    eventSetAtZero = GetZeroRefEvent().Wait(0);
  }
};

TEST(keRefCounted, ZeroEventFollowsTheCountAndAnExtraReleaseIsAnError) {
  ProbeCounted object;
  EXPECT_TRUE(object.GetZeroRefEvent().Wait(0));  // created at 0, signalled
  object.AddRef();
  object.AddRef();
  EXPECT_FALSE(object.GetZeroRefEvent().Wait(0));
  object.Release();
  EXPECT_FALSE(object.GetZeroRefEvent().Wait(0));
  EXPECT_EQ(object.zeroCalls, 0);
  object.Release();
  EXPECT_EQ(object.GetRefCount(), 0u);
  EXPECT_EQ(object.zeroCalls, 1);
  EXPECT_TRUE(object.eventSetAtZero) << "the zero event must be set before OnZeroRef runs";

  EXPECT_THROW(object.Release(), keOverReleaseError);
  EXPECT_EQ(object.GetRefCount(), 0u);
  EXPECT_EQ(object.zeroCalls, 1);
  EXPECT_TRUE(object.GetZeroRefEvent().Wait(0));
  object.AddRef();  // still usable after the error
  EXPECT_EQ(object.GetRefCount(), 1u);
  object.Release();
}

// Records what it is told; releases each sample at once unless told to hold it.
template <class Sample>
struct Recorder {
  std::vector<std::string>* calls;
  std::string name;
  bool hold = false;
  std::vector<uint32_t> countsSeen;
  std::vector<Sample*> held;

  void Seen(Sample* sample) {
    calls->push_back(name + " sample");
    countsSeen.push_back(sample->GetRefCount());
    if (hold) held.push_back(sample);
    else sample->Release();
  }
  void ReleaseHeld() {
    for (Sample* sample : held) sample->Release();
    held.clear();
  }
};

class AudioRecorder : public keAudioListener, public Recorder<keAudioSample> {
 public:
  AudioRecorder(std::vector<std::string>* log, const char* label) { calls = log, name = label; }
  void OnFormat(int32_t channels, int32_t rate) override {
    calls->push_back(name + " format " + std::to_string(channels) + " " + std::to_string(rate));
  }
  void OnStart() override { calls->push_back(name + " start"); }
  void OnSample(keAudioSample* sample) override { Seen(sample); }
  void OnEndOfStream() override { calls->push_back(name + " end"); }
};

class VideoRecorder : public keVideoListener, public Recorder<keVideoSample> {
 public:
  VideoRecorder(std::vector<std::string>* log, const char* label, int32_t kind) : kind_(kind) {
    calls = log, name = label;
  }
  int32_t Kind() override { return kind_; }
  void OnFormat(int32_t w, int32_t h, double fps, int32_t top, int32_t bottom, int32_t left, int32_t right) override {
    calls->push_back(name + " format " + std::to_string(w) + "x" + std::to_string(h) + " " +
                     std::to_string(static_cast<int>(fps * 100)) + " " + std::to_string(top) + " " +
                     std::to_string(bottom) + " " + std::to_string(left) + " " + std::to_string(right));
  }
  void OnStart() override { calls->push_back(name + " start"); }
  void OnSample(keVideoSample* sample) override { Seen(sample); }
  void OnEndOfStream() override { calls->push_back(name + " end"); }

 private:
  int32_t kind_;
};

TEST(keAvSourceBase, SampleCyclesThroughItsFactoryOnceEveryListenerReleased) {
  keEngineContext context;
  keAvSourceBase hub(&context);
  keAudioSampleFactory factory(2, 44100);
  std::vector<std::string> calls;
  AudioRecorder a(&calls, "a"), b(&calls, "b");
  hub.AddListener(&a);
  hub.AddListener(&b);
  hub.AddListener(&a);  // twice in the list: twice the calls and references
  hub.AddListener(nullptr);
  ASSERT_EQ(hub.ListenerCount(), 3u);

  hub.NotifyFormat(2, 44100);
  hub.NotifyStart();
  std::vector<uint8_t> block(4096, 7);
  keAudioSample* first = nullptr;
  uint8_t* buffer = nullptr;
  for (int i = 0; i < 5; ++i) {
    block[0] = static_cast<uint8_t>(i);
    // Later blocks are no larger than three times the first: no new buffer.
    const int32_t length = i == 0 ? 4096 : 4096 + 1000 * i;
    block.resize(static_cast<size_t>(length), 7);
    keAudioSample* sample = factory.GetSample(block.data(), length, true);
    EXPECT_EQ(factory.FreeCount(), 0u);
    if (i == 0) {
      first = sample;
      buffer = sample->data;
    }
    ASSERT_EQ(sample, first) << "one sample per factory, reused for the whole run";
    EXPECT_EQ(sample->data, buffer) << "no allocation once the own buffer exists";
    EXPECT_EQ(sample->data[0], i);
    EXPECT_EQ(sample->length, length);

    hub.NotifySample(sample);
    EXPECT_EQ(sample->GetRefCount(), 0u);
    EXPECT_TRUE(sample->GetZeroRefEvent().Wait(0));
    EXPECT_EQ(factory.FreeCount(), 1u);
  }
  hub.NotifyEndOfStream();

  // Every reference was added before the first OnSample: the first listener
  // called sees all three, even though each releases at once.
  EXPECT_EQ(a.countsSeen, (std::vector<uint32_t>{3, 1, 3, 1, 3, 1, 3, 1, 3, 1}));
  EXPECT_EQ(b.countsSeen, (std::vector<uint32_t>(5, 2)));
  const std::vector<std::string> head = {"a format 2 44100", "b format 2 44100", "a format 2 44100",
                                         "a start",          "b start",          "a start",
                                         "a sample",         "b sample",         "a sample"};
  EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 9), head);
  EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
            (std::vector<std::string>{"a end", "b end", "a end"}));
}

TEST(keAvSourceBase, LastReleaseSetsTheEventAndReturnsTheSample) {
  keEngineContext context;
  keAvSourceBase hub(&context);
  keAudioSampleFactory factory(1, 8000);
  std::vector<std::string> calls;
  AudioRecorder quick(&calls, "quick"), slow(&calls, "slow");
  slow.hold = true;
  hub.AddListener(&quick);
  hub.AddListener(&slow);
  const uint8_t bytes[4] = {1, 2, 3, 4};
  keAudioSample* sample = factory.GetSample(bytes, 4, true);
  hub.NotifySample(sample);
  EXPECT_EQ(sample->GetRefCount(), 1u);
  EXPECT_FALSE(sample->GetZeroRefEvent().Wait(0));
  EXPECT_EQ(factory.FreeCount(), 0u);
  slow.ReleaseHeld();
  EXPECT_TRUE(sample->GetZeroRefEvent().Wait(0));
  EXPECT_EQ(factory.FreeCount(), 1u);
  EXPECT_THROW(sample->Release(), keOverReleaseError);
  EXPECT_EQ(factory.FreeCount(), 1u);
}

TEST(keAvSourceBase, WithoutListenersNothingIsReferenced) {
  keEngineContext context;
  keAvSourceBase hub(&context);
  keAudioSampleFactory factory(2, 48000);
  const uint8_t bytes[8] = {};
  keAudioSample* sample = factory.GetSample(bytes, 8, true);
  hub.NotifyFormat(2, 48000);
  hub.NotifyStart();
  hub.NotifySample(sample);
  hub.NotifyEndOfStream();
  EXPECT_EQ(sample->GetRefCount(), 0u);
  EXPECT_TRUE(sample->GetZeroRefEvent().Wait(0));  // a filter waiting on it goes on at once
  EXPECT_EQ(factory.FreeCount(), 0u);
}

TEST(keAvSourceBase, RemoveListenerTakesOutEveryEntryAndIgnoresStrangers) {
  keEngineContext context;
  keAvSourceBase hub(&context);
  std::vector<std::string> calls;
  AudioRecorder a(&calls, "a"), b(&calls, "b"), stranger(&calls, "x");
  hub.AddListener(&a);
  hub.AddListener(&b);
  hub.AddListener(&a);
  hub.RemoveListener(&stranger);
  hub.RemoveListener(nullptr);
  hub.NotifyStart();
  EXPECT_EQ(calls, (std::vector<std::string>{"a start", "b start", "a start"}));
  hub.RemoveListener(&a);
  calls.clear();
  hub.NotifyStart();
  EXPECT_EQ(calls, (std::vector<std::string>{"b start"}));
}

struct SetDataStep {
  int32_t length;
  bool copy;
  int32_t capacity;  // expected afterwards
  bool owns;
  bool sameBuffer;  // the own buffer of the step before is kept
};

TEST(keAudioSample, OwnBufferIsThreeTimesTheBlockThatForcedIt) {
  const std::vector<SetDataStep> steps = {
      {100, true, 300, true, false}, {250, true, 300, true, true},   // shorter than the capacity: reused
      {300, true, 300, true, true},  {301, true, 903, true, false},  // longer: replaced
      {40, false, 0, false, false},                                  // the caller's memory; own buffer freed
      {50, true, 150, true, false},                                  // a new buffer for the next copy
  };
  keAudioSample sample(nullptr);
  std::vector<uint8_t> source(1000);
  uint8_t* previous = nullptr;
  for (size_t i = 0; i < steps.size(); ++i) {
    const SetDataStep& step = steps[i];
    for (size_t k = 0; k < source.size(); ++k) source[k] = static_cast<uint8_t>(k + i);
    sample.SetData(source.data(), step.length, step.copy);
    EXPECT_EQ(sample.capacity, step.capacity) << "step " << i;
    EXPECT_EQ(sample.owns, step.owns) << "step " << i;
    EXPECT_EQ(sample.length, step.length) << "step " << i;
    if (step.sameBuffer) {
      EXPECT_EQ(sample.data, previous) << "step " << i;
    }
    EXPECT_EQ(sample.data == source.data(), !step.copy) << "step " << i;
    EXPECT_EQ(std::vector<uint8_t>(sample.data, sample.data + step.length),
              std::vector<uint8_t>(source.begin(), source.begin() + step.length))
        << "step " << i;
    previous = sample.data;
  }
}

struct PlaneCase {
  int32_t code, width, height;
  std::vector<int32_t> sizes;
};

TEST(keVideoSample, PlaneSizesFollowTheFormatCode) {
  const std::vector<PlaneCase> cases = {
      {keVideoFormatYuv420, 320, 240, {76800, 19200, 19200, 0}},
      {keVideoFormatYuv420, 5, 3, {15, 3, 3, 0}},  // the quarter rounds down
      {keVideoFormatYuv444, 16, 8, {128, 128, 128, 0}},
  };
  for (const PlaneCase& c : cases) {
    keVideoSample sample(nullptr, c.width, c.height, c.code);
    EXPECT_EQ(std::vector<int32_t>(sample.sizes, sample.sizes + 4), c.sizes) << c.width << "x" << c.height;
  }
}

TEST(keVideoSample, CopiesIntoPlanesAllocatedOnceAndTakesPointersWithoutCopy) {
  keVideoSample sample(nullptr, 4, 4, keVideoFormatYuv420);
  std::vector<uint8_t> y(16, 1), u(4, 2), v(4, 3);
  uint8_t* source[4] = {y.data(), u.data(), v.data(), nullptr};
  sample.SetPlanes(source, true);
  ASSERT_TRUE(sample.owns);
  uint8_t* ownY = sample.planes[0];
  EXPECT_EQ(sample.planes[3], nullptr);
  y[5] = 9;
  sample.SetPlanes(source, true);
  EXPECT_EQ(sample.planes[0], ownY);
  EXPECT_EQ(std::vector<uint8_t>(sample.planes[0], sample.planes[0] + 16), y);
  EXPECT_EQ(std::vector<uint8_t>(sample.planes[2], sample.planes[2] + 4), v);
  sample.SetPlanes(source, false);
  EXPECT_FALSE(sample.owns);
  EXPECT_EQ(sample.planes[1], u.data());
}

TEST(keVideoSourceBase, FrameCyclesThroughItsFactoryAndKindsAreCounted) {
  keEngineContext context;
  keVideoSourceBase hub(&context);
  keVideoSampleFactory factory(4, 2, keVideoFormatYuv420);
  std::vector<std::string> calls;
  VideoRecorder encoder(&calls, "enc", 1), counter(&calls, "cnt", 0), stranger(&calls, "x", 1);
  counter.hold = true;
  hub.AddListener(&encoder);
  hub.AddListener(&counter);
  hub.RemoveListener(&stranger);
  EXPECT_EQ(hub.ListenerCountOfKind(0), 1);
  EXPECT_EQ(hub.ListenerCountOfKind(1), 1);

  hub.NotifyFormat(4, 2, 25.0, 1, 2, 3, 4);
  EXPECT_EQ(calls.front(), "enc format 4x2 2500 1 2 3 4");
  std::vector<uint8_t> y(8, 5), u(2, 6), v(2, 7);
  uint8_t* planes[4] = {y.data(), u.data(), v.data(), nullptr};
  keVideoSample* first = factory.GetSample(planes, true);
  for (int i = 0; i < 3; ++i) {
    keVideoSample* frame = factory.GetSample(planes, true);
    ASSERT_EQ(frame, first);
    hub.NotifySample(frame);
    EXPECT_EQ(frame->GetRefCount(), 1u);  // the counter still holds it
    EXPECT_FALSE(frame->GetZeroRefEvent().Wait(0));
    counter.ReleaseHeld();
    EXPECT_TRUE(frame->GetZeroRefEvent().Wait(0));
    EXPECT_EQ(factory.FreeCount(), 1u);
  }
  EXPECT_EQ(encoder.countsSeen, (std::vector<uint32_t>{2, 2, 2}));
  EXPECT_EQ(counter.countsSeen, (std::vector<uint32_t>{1, 1, 1}));
  hub.RemoveListener(&counter);
  EXPECT_EQ(hub.ListenerCountOfKind(0), 0);
}

}  // namespace
