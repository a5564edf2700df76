// The encode control of the main window: a plain class that mainFrame holds
// as a member. It keeps the state of one encode (flags, the finished event,
// the last probe's facts, the output extension, the temporary-files folder,
// the session of the current run) and the main window's controls that an
// encode reads and writes. Everything here runs on the GUI thread, except
// the worker thread's part of a run.
//
//   GUI thread (OnEncode, RunEncoding)       worker (MyWorkerThread::Entry)
//   ----------------------------------       ------------------------------
//   the gate, with the window still idle:
//     fields read once, the checks and
//     questions, the plan, session Prepare
//   window running
//   reset finished event, start worker  -->  session RunWorker: reader and
//   every 300 ms: yield, show the first      output started, waited for,
//     profile's percent; while "Cancel       reader stopped, result kept
//     encoding ?" is open the session        FinishEncoding: done flag,
//     holds a complete container back;       finished event signalled; the
//     Yes -> session Cancel                  worker touches nothing after
//   until 100 %, output finished or
//     worker done
//   wait for the finished event in short
//     slices, yielding, "Finalize..."
//   outcome message, HTML page from the run's plan
//   CleanupEncoding: session released (only now: the worker is done)
//
// The finished event is signalled whenever no worker is running, so the
// engine objects are never released under a worker that still uses them.
// Nothing before the run changes a file: an older output (and page) stays
// byte for byte until a complete new container replaces it, whether the
// encode is refused, fails or is cancelled.
#pragma once

#include <wx/string.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "EncodePlan.h"
#include "ProductVersion.h"

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

class abstractMainFrame {
 public:
  abstractMainFrame();
  ~abstractMainFrame();
  abstractMainFrame(const abstractMainFrame&) = delete;
  abstractMainFrame& operator=(const abstractMainFrame&) = delete;

  /// Registers the source filters, then creates the finished event,
  /// signalled. Called once while the main window is built.
  void Init();
  /// Caption kEditionTitle, then a refresh.
  void SetEditionTitle(wxFrame* frame);

  const wxString& GetOutputExtension() const { return outputExtension; }
  void SetOutputExtension(const wxString& extension) { outputExtension = extension; }
  const wxString& GetTempDirectory() const { return tempDirectory; }
  void SetTempDirectory(const wxString& dir) { tempDirectory = dir; }
  int GetSourceWidth() const { return sourceWidth; }
  int GetSourceHeight() const { return sourceHeight; }
  /// The largest picture the last run encoded (the page's applet size).
  int GetWidestOutput() const { return runPlan.WidestEncoded(); }
  int GetTallestOutput() const { return runPlan.TallestEncoded(); }
  int GetStreamCount() const { return static_cast<int>(runPlan.profiles.size()); }
  keEvent* GetFinishedEvent() { return finishedEvent; }

  void SetCancelRequested(bool cancel) { cancelRequested = cancel; }
  bool IsCancelRequested() const { return cancelRequested; }

  void UnregisterSourceFilter();

  // Source and output choice, probe and preview.
  bool ChooseSourceFile(wxTextCtrl* input, wxTextCtrl* output, wxWindow* parent);
  void ChooseOutputFile(wxTextCtrl* output, wxWindow* parent);
  /// The six fact displays may be labels or (disabled) text fields. A null
  /// media control means no preview.
  void ProbeSource(wxWindow* width, wxWindow* height, wxWindow* duration, wxWindow* frameRate, wxWindow* channels,
                   wxWindow* sampleRate, wxTextCtrl* input, wxButton* encodeButton, wxMediaCtrl* media, wxFrame* frame);
  /// Holds the preview at its first picture once the media control has loaded it.
  void OnMediaLoaded(wxMediaCtrl* media);

  /// The window the next run reads and shows its progress in.
  void SetWindow(const EncodeWindow& controls) { window = controls; }

  // ---- The gate before a run (abstractMainFrameChecks.cpp) ----

  /// The window's fields and rows as texts, read once for one run.
  EncodeFields ReadEncodeFields() const;
  /// Waits for the previous run to be over, clears the done flag, then
  /// passes the gate: the checks in order, the questions, the plan and the
  /// engine's set-up. The prepared session, or null after telling the user
  /// why (or after a No). Touches no file.
  std::unique_ptr<EncodeSession> PrepareEncoding();
  /// The first checks on the fields, with their texts and questions: the
  /// input, the output's folder, extension, characters, neither output nor
  /// page the input, the overwrite question (and the page's), writability
  /// (and the page's), whole numbers, the time range.
  /// False once the user has been told (or has said No).
  bool CheckParameters(const EncodeFields& fields);

  // ---- The run (abstractMainFrameRun.cpp) ----

  /// The whole Encode command (menu, tool and button): asks, passes the
  /// gate, sets the window running, runs the prepared engine objects and
  /// returns the window to idle. While a run is going the same command asks
  /// whether to cancel it. Re-entered from the run's own yields.
  void OnEncode(const EncodeWindow& window);
  /// The Cancel command during a run: asks "Cancel encoding ?" while the
  /// run's complete container, should it come, waits; Yes cancels the run,
  /// No lets it finish as usual.
  void AskToCancel();
  /// Menus Encode, Exit and temporary folder and the Encode tool disabled,
  /// the running flag ticked, the button labelled "Cancel".
  void SetEncodeUiRunning(const EncodeWindow& controls);
  /// The idle state of the window after a run.
  void ResetEncodeUi(const EncodeWindow& controls);
  /// Runs the prepared session to its end, keeping the window alive.
  void RunEncoding();
  /// Shows the progress texts; returns the elapsed seconds.
  int UpdateProgress(int percentage);
  void UpdateFinalizeTime(int elapsed);
  void AnimateStatus(const wxString& text);
  /// The worker's last word: it no longer touches the session. Sets the done
  /// flag and signals the finished event.
  void FinishEncoding();
  /// Releases the session once its worker is done. Nothing is removed: the
  /// engine leaves no partial output, and an older one is the user's.
  void CleanupEncoding();
  bool IsDone() const { return done; }
  /// The session of the current run, or null between runs.
  EncodeSession* GetSession() { return session.get(); }

  // ---- Temporary-files folder (abstractMainFrameTempDir.cpp) ----
  wxString GetTempDir(wxWindow* parent);
  void ShowTempDirDialog(wxWindow* parent);

  // ---- Publishing: HTML page (abstractMainFrameHtml.cpp) ----
  /// The page of the run `plan` describes, the player's files copied beside
  /// it, and the browser when the plan says so. A page that cannot be
  /// written is told on its own and ends it there; failed copies, and the
  /// player's files missing beside the program, are told after the page.
  void WriteHtmlPage(const EncodePlan& plan);

  // ---- Publishing: IIS extension (abstractMainFrameIis.cpp) ----
  void ChangeOutputExtension(wxTextCtrl* output, wxCheckBox* manageIis, wxWindow* parent);

 protected:
  bool cancelRequested = false;
  std::atomic<bool> done{false};  ///< written by the worker, read by the GUI thread
  keEvent* finishedEvent = nullptr;
  int sourceWidth = 720;
  int sourceHeight = 576;
  wxString outputExtension;
  wxString tempDirectory;
  std::unique_ptr<EncodeSession> session;  ///< the engine objects of the current run
  EncodePlan runPlan;                      ///< what the current (or last) run was started with
  /// The window of the current run, given by the Encode command.
  EncodeWindow window;
  long runStart = 0;  ///< seconds on the steady clock
  long pollingEnd = 0;
  /// Whether the source probed during the run can be encoded; applied to
  /// the Encode button when the window is idle again.
  std::optional<bool> encodeVerdictAfterRun;

 protected:
  /// Seconds on a clock that never goes back.
  static long NowSeconds();

 private:
  /// Waits up to `milliseconds` for the finished event, handling the GUI's
  /// events every slice of it; true once the worker is done.
  bool WaitForWorker(int milliseconds);
  /// Ends polling, waits for the worker, tells the outcome.
  void FinishRun(bool cancelled, int elapsed);
  /// Asks whether the existing `what` may be replaced (No preselected).
  bool MayReplace(const wxString& question) const;
};
