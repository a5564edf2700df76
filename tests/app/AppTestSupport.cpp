// What the window tests share.
#include "AppTestSupport.h"

#include <wx/app.h>
#include <wx/config.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "ProgramDirectory.h"
#include "appUtils.h"

bool IsDestroyed(wxWindow* window) { return window->IsBeingDeleted() || wxPendingDelete.Member(window); }

void SendCommand(wxWindow* target, wxEventType type, int id, int checked) {
  wxCommandEvent event(type, id);
  event.SetEventObject(target);
  if (checked >= 0) event.SetInt(checked);
  target->ProcessWindowEvent(event);
}

std::string ShippedDefaultStreamsPath() { return std::string(OSTREL_SOURCE_DIR) + "/app/default_streams.xml"; }

void AppTest::SetUp() {
  ResetTestConfig();
  programFolder = std::make_unique<TempDir>();
  programDir = programFolder->Path();
  std::filesystem::copy_file(ShippedDefaultStreamsPath(), programDir + "/default_streams.xml");
  OverrideProgramDirectory(wxString::FromUTF8(programDir));
  AppUtils().SetLauncher(&launcher);
}

void AppTest::TearDown() {
  if (frame) {
    if (!IsDestroyed(frame)) frame->Destroy();
    frame = nullptr;
  }
  DeletePendingWindows();
  AppUtils().SetLauncher(nullptr);
  OverrideProgramDirectory(wxString());
  // A test that went into the folder must not stand in it as it goes.
  std::filesystem::current_path("/");
  programFolder.reset();
}

void AppTest::ConfigureTempDir(const wxString& directory) { wxConfigBase::Get()->Write("/General/tmpDir", directory); }

mainFrame* AppTest::BuildFrame() {
  frame =
      new mainFrame(nullptr, ID_MAIN_FRAME, "Ostrel", wxDefaultPosition, wxSize(900, 700), mainFrame::DefaultStyle());
  return frame;
}

mainFrame* AppTest::BuildQuietFrame() {
  ConfigureTempDir();
  EXPECT_NO_DIALOG(BuildFrame());
  return frame;
}

void AppTest::DeletePendingWindows() {
  while (!wxPendingDelete.empty()) wxTheApp->ProcessIdle();
}
