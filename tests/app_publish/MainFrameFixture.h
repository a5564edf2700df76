// A main window built as at start-up, over a fresh configuration with a
// temporary folder set and no default_streams.xml (so the factory rows), and
// without a media backend. The launcher records instead of starting.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <filesystem>
#include <string>

#include "GuiTestSupport.h"
#include "ProgramDirectory.h"
#include "PublishTestSupport.h"
#include "mainFrame.h"

class MainFrameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTestConfig();
    wxConfigBase::Get()->Write("/General/tmpDir", wxString::FromUTF8(GuiTestConfigDir()));
    wxConfigBase::Get()->Flush();
    programDir = GuiTestConfigDir() + "/program";
    std::filesystem::create_directories(programDir);
    OverrideProgramDirectory(wxString::FromUTF8(programDir));
    mainFrame::SetMediaBackend("wxNoSuchMediaBackend");
    wxTEST_DIALOG(frame = new mainFrame(nullptr, ID_MAIN_FRAME, "Ostrel", wxDefaultPosition,
                                        wxSize(900, 700), mainFrame::DefaultStyle()),
                  wxExpectModal<wxMessageDialog>(wxOK).Describe("no default_streams.xml"));
  }

  void TearDown() override {
    if (frame) frame->Destroy();
    RunIdle();
    OverrideProgramDirectory(wxString());
  }

  /// Lets the toolkit run what waits for idle time (delayed destruction).
  static void RunIdle() {
    for (int i = 0; i < 3; ++i) {
      wxTheApp->ProcessPendingEvents();
      wxTheApp->ProcessIdle();
    }
  }

  /// Sends a command event as a click on the control or the menu would.
  void Command(wxEventType type, int id, wxWindow* source = nullptr) {
    wxCommandEvent event(type, id);
    event.SetEventObject(source ? static_cast<wxObject*>(source) : frame);
    (source ? source : frame)->GetEventHandler()->ProcessEvent(event);
  }
  void Menu(int id) { Command(wxEVT_MENU, id); }

  std::string programDir;
  mainFrame* frame = nullptr;
  RecordingLauncher launcher;
};
