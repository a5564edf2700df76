// What the window tests share.
#include "AppTestSupport.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/debug.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "ProgramDirectory.h"
#include "appUtils.h"

namespace {

// A failed toolkit assertion (an unexpected dialog among them) fails the test
// instead of opening a box that waits for a person.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line) << func << ": " << cond << " " << msg;
}

class AssertsFailTests : public ::testing::Environment {
 public:
  void SetUp() override { wxSetAssertHandler(FailOnAssert); }
};

[[maybe_unused]] ::testing::Environment* const g_asserts =
    ::testing::AddGlobalTestEnvironment(new AssertsFailTests);

}  // namespace

bool IsDestroyed(wxWindow* window) { return window->IsBeingDeleted() || wxPendingDelete.Member(window); }

void SendCommand(wxWindow* target, wxEventType type, int id, int checked) {
  wxCommandEvent event(type, id);
  event.SetEventObject(target);
  if (checked >= 0) event.SetInt(checked);
  target->ProcessWindowEvent(event);
}

std::string ShippedDefaultStreamsPath() { return std::string(OSTREL_SOURCE_DIR) + "/app/default_streams.xml"; }

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void AppTest::SetUp() {
  ResetTestConfig();
  char pattern[] = "/tmp/ostrel-app-test-XXXXXX";
  const char* dir = mkdtemp(pattern);
  ASSERT_NE(dir, nullptr);
  programDir = dir;
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
  std::filesystem::current_path("/");
  std::filesystem::remove_all(programDir);
}

void AppTest::ConfigureTempDir(const wxString& directory) {
  wxConfigBase::Get()->Write("/General/tmpDir", directory);
}

mainFrame* AppTest::BuildFrame() {
  frame = new mainFrame(nullptr, ID_MAIN_FRAME, "Ostrel", wxDefaultPosition, wxSize(900, 700),
                        mainFrame::DefaultStyle());
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
