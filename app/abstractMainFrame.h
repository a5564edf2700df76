// The encode control of the main window: a plain class that mainFrame holds
// as a member. It keeps the state of one encode (flags, the finished event,
// the last probe's facts, the output extension, the temporary-files folder,
// the session of the current run) and the main window's controls that an
// encode reads and writes. Everything here runs on the GUI thread, except
// the worker thread's part of a run.
//
//   GUI thread (OnEncode, RunEncoding)       worker (MyWorkerThread::Entry)
//   ----------------------------------       ------------------------------
//   checks, StartEncode: session Prepare
//   reset finished event, start worker  -->  session RunWorker: reader and
//   every 300 ms: yield, show the first      output started, waited for,
//     profile's percent; cancel asked ->       reader stopped, result kept
//     session Cancel                         FinishEncoding: done flag,
//   until 100 %, output finished or          finished event signalled; the
//     worker done                            worker touches nothing after
//   wait for the finished event in short
//     slices, yielding, "Finalize..."
//   outcome message, HTML page
//   CleanupEncoding: session released (only now: the worker is done)
//
// The finished event is signalled whenever no worker is running, so the
// engine objects are never released under a worker that still uses them.
#pragma once

#include <wx/string.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

class EncodeSession;
class keEvent;
class wxButton;
class wxCheckBox;
class wxFrame;
class wxGauge;
class wxGrid;
class wxMediaCtrl;
class wxMediaEvent;
class wxStaticText;
class wxTextCtrl;
class wxWindow;

/// The main window's controls that the Encode command reads and writes. Null
/// members are allowed for the media control and the three page boxes.
struct EncodeWindow {
  wxFrame* frame = nullptr;  ///< its menu bar and toolbar carry the commands
  wxTextCtrl* input = nullptr;
  wxTextCtrl* output = nullptr;
  wxTextCtrl* startTime = nullptr;
  wxTextCtrl* endTime = nullptr;
  wxTextCtrl* cropTop = nullptr;
  wxTextCtrl* cropRight = nullptr;
  wxTextCtrl* cropLeft = nullptr;
  wxTextCtrl* cropBottom = nullptr;
  wxCheckBox* keepAspect = nullptr;
  wxCheckBox* keepSourceSize = nullptr;
  wxCheckBox* deinterlace = nullptr;
  wxCheckBox* htmlPage = nullptr;
  wxCheckBox* graphicToolbar = nullptr;
  wxCheckBox* showVideo = nullptr;
  wxCheckBox* running = nullptr;  ///< the hidden running flag
  wxGrid* grid = nullptr;
  wxStaticText* elapsed = nullptr;
  wxStaticText* remaining = nullptr;
  wxStaticText* total = nullptr;
  wxStaticText* status = nullptr;
  wxGauge* gauge = nullptr;
  wxButton* encodeButton = nullptr;
  wxMediaCtrl* media = nullptr;
};

/// Command ids the run disables while it lasts.
constexpr int kEncodeCommandId = 10035;
constexpr int kExitCommandId = 10017;
constexpr int kTempDirCommandId = 10062;

class abstractMainFrame {
 public:
  abstractMainFrame();
  ~abstractMainFrame();
  abstractMainFrame(const abstractMainFrame&) = delete;
  abstractMainFrame& operator=(const abstractMainFrame&) = delete;

  /// Registers the source filters, then creates the finished event,
  /// signalled. Called once while the main window is built.
  void Init();
  /// Caption "Ostrel Standard Edition v.3 ", then a refresh.
  void SetEditionTitle(wxFrame* frame);

  const wxString& GetOutputExtension() const { return outputExtension; }
  void SetOutputExtension(const wxString& extension) { outputExtension = extension; }
  const wxString& GetTempDirectory() const { return tempDirectory; }
  void SetTempDirectory(const wxString& dir) { tempDirectory = dir; }
  int GetSourceWidth() const { return sourceWidth; }
  int GetSourceHeight() const { return sourceHeight; }
  int GetWidestOutput() const { return widestOutput; }
  int GetTallestOutput() const { return tallestOutput; }
  int GetStreamCount() const { return streamCount; }
  keEvent* GetFinishedEvent() { return finishedEvent; }

  void SetCancelRequested(bool cancel) { cancelRequested = cancel; }
  bool IsCancelRequested() const { return cancelRequested; }

  void UnregisterSourceFilter();

  // Source and output choice, probe and preview.
  bool ChooseSourceFile(wxTextCtrl* input, wxTextCtrl* output, wxWindow* parent);
  void ChooseOutputFile(wxTextCtrl* output, wxWindow* parent);
  /// The six fact displays may be labels or (disabled) text fields. A null
  /// media control means no preview.
  void ProbeSource(wxWindow* width, wxWindow* height, wxWindow* duration, wxWindow* frameRate,
                   wxWindow* channels, wxWindow* sampleRate, wxTextCtrl* input, wxButton* encodeButton,
                   wxMediaCtrl* media, wxFrame* frame);
  /// Holds the preview at its first picture once the media control has loaded it.
  void OnMediaLoaded(wxMediaCtrl* media);

  // The run's controls, stored before every run.
  void SetInputControls(wxTextCtrl* input, wxTextCtrl* output, wxTextCtrl* startTime,
                        wxTextCtrl* endTime, wxTextCtrl* cropTop, wxTextCtrl* cropRight,
                        wxTextCtrl* cropLeft, wxTextCtrl* cropBottom, wxTextCtrl* unused,
                        wxCheckBox* keepAspect, wxCheckBox* keepSourceSize, wxGrid* grid,
                        wxFrame* frame);
  void SetProgressControls(wxStaticText* elapsed, wxStaticText* remaining, wxStaticText* total,
                           wxStaticText* status, wxGauge* gauge, wxWindow* unused1,
                           wxWindow* unused2);

  // Checks before a run.
  bool PrepareEncoding();
  bool CheckParameters();

  // ---- The run (abstractMainFrameRun.cpp) ----

  /// The whole Encode command (menu, tool and button): asks, checks, sets the
  /// window running, builds the engine objects, runs them and returns the
  /// window to idle. While a run is going the same command asks whether to
  /// cancel it. Re-entered from the run's own yields.
  void OnEncode(const EncodeWindow& window);
  /// Menus Encode, Exit and temporary folder and the Encode tool disabled,
  /// the running flag ticked, the button labelled "Cancel".
  void SetEncodeUiRunning(const EncodeWindow& window);
  /// The idle state of the window after a run.
  void ResetEncodeUi(const EncodeWindow& window);
  /// Builds the engine objects of the run from the stored input controls.
  /// False, after telling the user why, when the engine refuses the fields.
  bool StartEncode(bool deinterlace);
  /// Runs the prepared session to its end, keeping the window alive.
  void RunEncoding(wxMediaCtrl* media, wxCheckBox* htmlPage, wxCheckBox* graphicToolbar,
                   wxCheckBox* showVideo, wxFrame* frame);
  /// Shows the progress texts; returns the elapsed seconds.
  int UpdateProgress(int percentage);
  void UpdateFinalizeTime(int elapsed);
  void AnimateStatus(const wxString& text);
  /// The worker's last word: it no longer touches the session. Sets the done
  /// flag and signals the finished event.
  void FinishEncoding();
  /// Releases the session (after its worker is done) and, after a cancel or
  /// a failure, makes sure no partial output stays.
  void CleanupEncoding(bool failed);
  bool IsDone() const { return done; }
  /// The session of the current run, or null between runs.
  EncodeSession* GetSession() { return session.get(); }

  // ---- Temporary-files folder (abstractMainFrameTempDir.cpp) ----
  wxString GetTempDir(wxWindow* parent);
  void ShowTempDirDialog(wxWindow* parent);

  // ---- Publishing: HTML page (abstractMainFrameHtml.cpp) ----
  void WriteHtmlPage(bool toolbar, bool show);

  // ---- Publishing: IIS extension (abstractMainFrameIis.cpp) ----
  void ChangeOutputExtension(wxTextCtrl* output, wxCheckBox* manageIis, wxWindow* parent);

 protected:
  int streamCount = 0;
  bool cancelRequested = false;
  std::atomic<bool> done{false};  ///< written by the worker, read by the GUI thread
  keEvent* finishedEvent = nullptr;
  double aspectRatio = 1.25;
  int sourceWidth = 720;
  int sourceHeight = 576;
  int widestOutput = 0;
  int tallestOutput = 0;
  int sizeAlignment = 16;
  wxString outputExtension = "osq";
  wxString tempDirectory;
  std::unique_ptr<EncodeSession> session;  ///< the engine objects of the current run
  std::string runOutputPath;  ///< the output the run writes, fixed at its set-up
  long runStart = 0;           ///< seconds on the steady clock
  long pollingEnd = 0;
  /// Whether the source probed during the run can be encoded; applied to
  /// the Encode button when the window is idle again.
  std::optional<bool> encodeVerdictAfterRun;

  wxStaticText* elapsedLabel = nullptr;
  wxStaticText* remainingLabel = nullptr;
  wxStaticText* totalLabel = nullptr;
  wxStaticText* statusLabel = nullptr;
  wxGauge* gauge = nullptr;

  wxTextCtrl* inputField = nullptr;
  wxTextCtrl* outputField = nullptr;
  wxTextCtrl* startTimeField = nullptr;
  wxTextCtrl* endTimeField = nullptr;
  wxTextCtrl* cropTopField = nullptr;
  wxTextCtrl* cropRightField = nullptr;
  wxTextCtrl* cropLeftField = nullptr;
  wxTextCtrl* cropBottomField = nullptr;
  wxCheckBox* keepAspectBox = nullptr;
  wxCheckBox* keepSourceSizeBox = nullptr;
  wxGrid* streamsGrid = nullptr;
  wxFrame* frame = nullptr;

 protected:
  /// Seconds on a clock that never goes back.
  static long NowSeconds();

 private:
  /// Waits up to `milliseconds` for the finished event, handling the GUI's
  /// events every slice of it; true once the worker is done.
  bool WaitForWorker(int milliseconds);
  /// Ends polling, waits for the worker, tells the outcome.
  void FinishRun(bool cancelled, int elapsed, wxCheckBox* htmlPage, wxCheckBox* graphicToolbar,
                 wxCheckBox* showVideo);
  bool IsSameFileAsInput(const wxString& output) const;

  bool HasSelectedRow() const;
};
