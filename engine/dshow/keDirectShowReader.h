// The source of an encode: probes the input file at construction (frame
// rate, stream lengths), creates the two renderer filters, and on Start
// finds where the file's data end (reading it through once, without
// decoding) and decodes the file through a graph into them, unclocked, from
// the start time the application set to the end time it set or else to the
// end of the data, and with neither stream decoding more than two seconds
// ahead of the other.
//
// Ends: the length the file declares is no limit (a file cut off before its
// index declares less than it holds, joined clips declare one clip's); it
// only names what was missing when the data end well before it. The stream
// whose data end first is continued (its last picture, or silence) as far
// as the other goes, and the container is told what was encoded.
//
// Threads: the GUI thread constructs the reader, sets it up and may Abort;
// the worker thread calls Start and Stop; every container content calls
// Stop; the graph's stream threads run the filters. Start, Abort and Stop
// may overlap: none of them waits while holding the reader's state.
//
// Failures never end the process: a file that cannot be opened or decoded
// leaves the filters unconnected (their listeners hear nothing), Start runs
// a graph that completes at once, and GetFailureReason tells why.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "keAVSource.h"
#include "keAbstractDirectShowAVSource.h"
#include "keEngineContext.h"

class DirectShowAudioSource;
class DirectShowVideoSource;
class FilterGraph;
class NullRenderer;

class keDirectShowReader : public keSourceReader, public keAbstractDirectShowAVSource {
 public:
  /// Probes `path` and creates both filters (whatever streams the file has).
  keDirectShowReader(keEngineContext* context, const char* path);
  /// Stops the graph, takes every filter out of it and deletes both filters;
  /// the listeners must have released their samples.
  ~keDirectShowReader() override;

  // keAVSource
  /// How far decoding has got between start and end, 0 to 100.
  int GetProgressPercent() override;
  /// Before the run completes, GetEndTime minus the start; once it has, the
  /// length of what was encoded.
  double GetDuration() override;
  keVideoSource* GetVideoSource() override;
  bool HasVideoSource() override { return videoFilter != nullptr; }
  keAudioSource* GetAudioSource() override;
  bool HasAudioSource() override { return audioFilter != nullptr; }
  /// Finds where the data end (FindDataEnd), then builds the graph once and
  /// runs it; nothing after an Abort. A start at or past the end of the data
  /// runs nothing and fails the run with the reason.
  void Start() override;
  /// Stops a running graph, then ends the video and then the audio stream,
  /// so that every listener hears the end of its stream.
  void Abort() override;
  /// Waits for the graph to complete (or to be stopped elsewhere), then stops it.
  void Stop() override;
  int GetVideoPolicyMode() override { return 0; }
  int GetAudioPolicyMode() override { return 0; }
  /// The graph's position in 100-ns units of media time.
  double GetCurrentPosition() override;
  /// Where the encode ends, seconds: the end time set, or the end of the
  /// source's data when that comes first (once FindDataEnd has run, see
  /// keChooseDataEnd); where neither is known, the length the file declares
  /// (-1.0 when it declares none). Any thread.
  double GetEndTime() override;
  double GetStartTime() override { return start; }
  std::string GetFailureReason() override;
  /// Once the run completed: that the source ended well before the end time
  /// set, or before the length the file declares; then what the streams had
  /// to skip.
  std::string GetWarningText() override;

  // keSourceReader
  bool HasVideo() override { return hasVideo; }
  bool HasAudio() override { return hasAudio; }
  const char* GetFileName() override { return fileName.c_str(); }
  /// Start of the range in seconds (below 0: the source's start), passed to
  /// both sources.
  void SetStartTime(double seconds) override;
  /// End of the range in seconds (0: none, the encode runs to the end of the
  /// data). Both sources are given where the run stops: this end, or the end
  /// of the data where that comes first.
  void SetEndTime(double seconds) override;
  bool IsClockless() override { return noClock; }
  void SetClockless(bool clockless) override { noClock = clockless; }
  /// Decode the video of `path` in place of the source's own.
  void SetBlackSourceFile(const char* path) override;
  /// Reads the file through once, without decoding, to find where its data
  /// end and how its joins lay out its timeline; later calls return at once.
  /// Takes time in proportion to the file; Start calls it, and an Abort
  /// meanwhile cuts it short.
  void FindDataEnd() override;

  // keAbstractDirectShowAVSource
  void PrepareGraph() override;

  /// Adds the source and connects the filters in the file's stream order.
  virtual void ConnectFilters();
  /// Ends the streams of the filters that no stream of the file reaches.
  void EndUnfedStreams();
  /// Limits playback to the range, unless the filters keep it themselves.
  virtual void SeekToRange();

  /// What the probe decided.
  double GetFrameRate() const { return frameRate; }
  bool IsRateMeasured() const { return rateMeasured; }
  int32_t GetFirstKind() const { return firstKind; }
  double GetAudioLength() const { return audioLength; }
  double GetVideoLength() const { return videoLength; }
  /// The length the file declares (the longer stream's); -1.0 when unknown.
  double GetDeclaredEnd() const { return declaredEnd; }
  /// Where its data end; -1.0 when no packet states a time or before
  /// FindDataEnd.
  double GetDataEnd() const { return dataEnd; }
  DirectShowVideoSource* GetVideoFilter() const { return videoFilter.get(); }
  DirectShowAudioSource* GetAudioFilter() const { return audioFilter.get(); }

 private:
  void Probe();
  /// Where the run stops, seconds: the end time set or the end of the data,
  /// whichever comes first; 0.0 when neither is known (then at the end of
  /// the file).
  double RunEnd() const;
  /// What the completed run encoded, seconds from the start; -1.0 before the
  /// run completed.
  double EncodedSeconds();
  /// That the source ended early; empty when it did not.
  std::string EarlyEndWarning();

  bool noClock = true;
  std::unique_ptr<FilterGraph> graph;
  std::unique_ptr<DirectShowVideoSource> videoFilter;
  std::unique_ptr<DirectShowAudioSource> audioFilter;
  std::unique_ptr<NullRenderer> nullRenderer;
  bool graphBuilt = false;
  keEngineContext* context;
  bool blackSource = false;
  std::string blackFile;
  bool running = false;
  bool aborted = false;
  int32_t firstKind = -1;
  std::string fileName;
  bool hasAudio = false;
  bool hasVideo = false;
  double frameRate = 25.0;
  double audioLength = -1.0;
  double videoLength = -1.0;
  double start = 0.0;
  /// The end time set; 0.0 when none.
  double askedEnd = 0.0;
  double declaredEnd = -1.0;
  /// Read by the polling thread (the progress) while Start finds it.
  std::atomic<double> dataEnd{-1.0};
  /// The shifts of the file's joins as the reading of it found them.
  std::vector<int64_t> joinShifts;
  /// Guards the reading of the file through, done once.
  std::mutex scanMutex;
  bool scanned = false;
  std::atomic<bool> stopScan{false};
  bool rateMeasured = false;
  /// The file's times may start over: the length it declares means nothing.
  bool discontinuous = false;

  /// Guards running, aborted, graphBuilt and the failure reason.
  std::mutex stateMutex;
  std::string failureReason;
};
