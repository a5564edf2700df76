// The encode control of the main window: a plain class that mainFrame holds
// as a member. It keeps the state of one encode (flags, the finished event,
// the last probe's facts, the output extension, the temporary-files folder,
// the session of the current run) and the main window's controls that an
// encode reads and writes. Everything here runs on the GUI thread, except
// the worker thread's part of a run (see abstractMainFrameRun.cpp).
#pragma once

#include <wx/string.h>

#include <memory>

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
  void ProbeSource(wxStaticText* width, wxStaticText* height, wxStaticText* duration,
                   wxStaticText* frameRate, wxStaticText* channels, wxStaticText* sampleRate,
                   wxTextCtrl* input, wxButton* encodeButton, wxMediaCtrl* media, wxFrame* frame);

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
  bool done = false;
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
};
