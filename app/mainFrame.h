// The main window: menus, toolbar, status bar, the panel with every field,
// the streams grid and the event table that routes commands to handlers.
//
// Where each part lives:
//   mainFrameIds.h                the ids of controls, commands and dialogs
//   mainFrame.cpp                 construction (Create, CreateControls)
//   mainFrameMenus.cpp            menu bar, toolbar, status bar
//   mainFramePanel.cpp            the panel and its controls
//   mainFrameStreams.cpp          the streams grid with its buttons, its size
//                                 rule and its column locks
//   mainFrameDefaultStreams.cpp   the grid's file, default_streams.xml
//   mainFrameOptions.cpp          the option boxes and the rules between them
//   mainFrameSettings.cpp         "Load settings" and "Save settings"
//   mainFrameImages.cpp           the built-in toolbar images and the icon
//   mainFrameEvents.cpp           the event table
//   mainFrameHandlers.cpp         close, exit, links, updates, temporary folder
//   mainFrameEncodeHandlers.cpp   source, output, preview and encode commands
//   mainFrameCommandHandlers.cpp  time range, IIS, About, protection dialogs
//
// The control pointers are public: the encode control, the command handlers
// and the tests reach the window's fields through them.
#pragma once

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/icon.h>

#include "abstractMainFrame.h"
#include "mainFrameIds.h"

class wxBoxSizer;
class wxButton;
class wxCheckBox;
class wxCloseEvent;
class wxGauge;
class wxGrid;
class wxGridEvent;
class wxMediaCtrl;
class wxMediaEvent;
class wxMenu;
class wxPanel;
class wxSizer;
class wxSlider;
class wxStaticBoxSizer;
class wxStaticText;
class wxStatusBar;
class wxTextCtrl;
class wxXml2Document;
class wxXml2Node;

class mainFrame : public wxFrame {
  wxDECLARE_CLASS(mainFrame);
  wxDECLARE_EVENT_TABLE();

 public:
  mainFrame();
  mainFrame(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
            long style);
  ~mainFrame() override;

  bool Create(wxWindow* parent, wxWindowID id, const wxString& caption, const wxPoint& pos, const wxSize& size,
              long style);
  void CreateControls();

  /// The style the application creates the window with: a caption, system
  /// menu, minimise and close boxes; neither resizable nor maximisable.
  static long DefaultStyle();

  /// The media backend the preview is created with; empty for the toolkit's
  /// default. Tests name a backend that does not exist to build the window
  /// the way a machine without a video sink does.
  static void SetMediaBackend(const wxString& className);

  // ---- Image lookup (mainFrameImages.cpp) ----
  wxBitmap GetBitmapResource(const wxString& name);
  wxIcon GetIconResource(const wxString& name);

  // ---- Streams grid (mainFrameStreams.cpp) ----
  void CreateStreamsGrid();
  void ClearStreamsGrid();
  void ResetStreamsToFactory();
  void UpdateAspectRatioColumns();
  void UpdateSourceDimensionColumns();

  // ---- default_streams.xml (mainFrameDefaultStreams.cpp) ----
  void LoadDefaultStreams();
  void ReadStreamsXml(const wxXml2Document& document, bool flag);
  void SaveDefaultStreams();
  void BuildStreamsNode(wxXml2Node root);

  // ---- Encode (mainFrameEncodeHandlers.cpp) ----
  void OnEncode();
  void SetEncodeUiRunning();
  void ResetEncodeUi();

  // ---- Option boxes (mainFrameOptions.cpp): one rule each, applied by the
  // box's handler and, all of them, after "Load settings" ----
  void ApplyHtmlPageChoice();
  void ApplyAspectRatioChoice();
  void ApplySourceDimensionChoice();
  void ApplyOptionChoices();

  // ---- Settings (mainFrameSettings.cpp) ----
  void LoadSettings();
  /// Asks, writes every key, and tells the user when they could not be written.
  void SaveSettings();

  // ---- Dialogs (mainFrameCommandHandlers.cpp) ----
  void ShowSecretPhraseDialog();
  void ShowSecurityFileManager();

  // ---- Event handlers: the 37 entries of the event table ----
  void OnCloseWindow(wxCloseEvent& event);
  void OnLoadSettingsSelected(wxCommandEvent& event);
  void OnSaveSettingsSelected(wxCommandEvent& event);
  void OnEncodeSelected(wxCommandEvent& event);
  void OnCheckUpdatesSelected(wxCommandEvent& event);
  void OnOnlineHelpTool(wxCommandEvent& event);
  void OnSelectInput(wxCommandEvent& event);
  void OnSelectOutput(wxCommandEvent& event);
  void OnExitSelected(wxCommandEvent& event);
  void OnSecretPhraseSelected(wxCommandEvent& event);
  void OnSecurityManagerSelected(wxCommandEvent& event);
  void OnTempDirSelected(wxCommandEvent& event);
  void OnOnlineHelpSelected(wxCommandEvent& event);
  void OnVisitWebsiteSelected(wxCommandEvent& event);
  void OnAboutSelected(wxCommandEvent& event);
  void OnInputPathChanged(wxCommandEvent& event);
  void OnSetStartTime(wxCommandEvent& event);
  void OnSetEndTime(wxCommandEvent& event);
  void OnClearRows(wxCommandEvent& event);
  void OnSaveDefaultStreams(wxCommandEvent& event);
  void OnLoadDefaultStreams(wxCommandEvent& event);
  void OnResetStreams(wxCommandEvent& event);
  void OnMaintainAspectRatio(wxCommandEvent& event);
  void OnMaintainSourceDimension(wxCommandEvent& event);
  void OnManageIis(wxCommandEvent& event);
  void OnGenerateHtmlPage(wxCommandEvent& event);
  void OnSkipEvent(wxCommandEvent& event);
  void OnGridCellChange(wxGridEvent& event);
  void OnMediaLoaded(wxMediaEvent& event);

  /// The encode control: the state of one encode and its operations.
  abstractMainFrame encodeControl;

  // Menus and status bar (the menu bar and toolbar are reached through the frame).
  wxMenu* securityMenu = nullptr;  ///< removed from the menu bar, kept here
  wxMenu* optionsMenu = nullptr;
  wxStatusBar* statusBar = nullptr;

  wxPanel* panel = nullptr;

  // File information.
  wxTextCtrl* inputPathText = nullptr;
  wxButton* inputBrowseButton = nullptr;
  wxTextCtrl* outputPathText = nullptr;
  wxButton* outputBrowseButton = nullptr;

  // Video information: greyed, written by the probe.
  wxTextCtrl* widthText = nullptr;
  wxTextCtrl* heightText = nullptr;
  wxTextCtrl* durationText = nullptr;
  wxTextCtrl* fpsText = nullptr;
  wxTextCtrl* audioChannelsText = nullptr;
  wxTextCtrl* audioSampleRateText = nullptr;

  // Preview. `mediaCtrl` stays null when no media backend could be made.
  wxBoxSizer* previewSizer = nullptr;
  wxMediaCtrl* mediaCtrl = nullptr;

  // Time range and crop.
  wxTextCtrl* startTimeText = nullptr;
  wxButton* setStartButton = nullptr;
  wxTextCtrl* endTimeText = nullptr;
  wxButton* setEndButton = nullptr;
  wxTextCtrl* cropTopText = nullptr;
  wxTextCtrl* cropRightText = nullptr;
  wxTextCtrl* cropLeftText = nullptr;
  wxTextCtrl* cropBottomText = nullptr;

  // Audio gain: hidden, read by nothing.
  wxStaticBoxSizer* audioGainSizer = nullptr;
  wxSlider* audioGainSlider = nullptr;

  // Streams.
  wxGrid* streamsGrid = nullptr;
  wxBoxSizer* streamsSizer = nullptr;
  wxBoxSizer* streamButtonsSizer = nullptr;
  wxButton* clearButton = nullptr;
  wxButton* saveDefaultButton = nullptr;
  wxButton* loadDefaultButton = nullptr;
  wxButton* resetButton = nullptr;

  // Options.
  wxCheckBox* aspectRatioCheck = nullptr;
  wxCheckBox* sourceDimensionCheck = nullptr;
  wxCheckBox* deinterlaceCheck = nullptr;
  wxCheckBox* manageIisCheck = nullptr;
  wxCheckBox* htmlPageCheck = nullptr;
  wxCheckBox* showVideoCheck = nullptr;
  wxCheckBox* graphicToolbarCheck = nullptr;
  wxCheckBox* secureCheck = nullptr;  ///< hidden

  // Encoding info.
  wxStaticText* statusText = nullptr;
  wxGauge* progressGauge = nullptr;
  wxStaticText* elapsedText = nullptr;
  wxStaticText* remainingText = nullptr;
  wxStaticText* totalText = nullptr;
  wxButton* encodeButton = nullptr;
  wxCheckBox* runningCheck = nullptr;  ///< hidden: ticked while an encode runs

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildStatusBar();
  void BuildPanel();
  void BuildMediaControl();
  /// Unregisters the source filter and destroys the window (close and Exit).
  void CloseDown();
};
