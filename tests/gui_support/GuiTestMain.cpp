// Entry of the window tests: GoogleTest over a running toolkit (no main
// loop; tests yield to it), with HOME and the configuration in a temporary
// folder of the run's own, so that no test ever reads or writes the user's
// settings. A failed toolkit assertion and a dialog shown outside every
// expectation fail the test instead of waiting for a person. Needs a display:
// CTest runs these under Xvfb.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/debug.h>
#include <wx/fileconf.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "GuiTestSupport.h"
#include "ModalExpectations.h"
#include "TempDir.h"

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

std::string g_configDir;

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line) << "wx assertion in " << func.utf8_string() << ": " << cond.utf8_string() << " "
                                        << msg.utf8_string();
}

// The media preview's X video sinks open their own display connection on a
// streaming thread; one still prerolling when a test process ends races the
// toolkit's exit and crashes it. The sinks for other displays (DirectFB, the
// kernel's mode setting, the frame buffer, Wayland, Vulkan) crash or hang
// without their display. The tests see GStreamer's plugins without any of
// them, as on a machine without them: the preview then plays into GStreamer's
// stand-in sink, with every position, length and picture size as usual.
bool IsDisplaySink(const std::string& name) {
  for (const char* sink : {"libgstximagesink.so", "libgstxvimagesink.so", "libgstdirectfb.so", "libgstkms.so",
                           "libgstfbdevsink.so", "libgstwaylandsink.so", "libgstgtkwayland.so", "libgstvulkan.so"}) {
    if (name == sink) return true;
  }
  return false;
}

void HideVideoSinks(const std::string& dir) {
  namespace fs = std::filesystem;
  const fs::path system = OSTREL_GSTREAMER_PLUGINS_DIR;
  std::error_code error;
  if (!fs::is_directory(system, error)) return;
  const fs::path plugins = fs::path(dir) / "gst-plugins";
  fs::create_directories(plugins, error);
  for (const auto& entry : fs::directory_iterator(system, error)) {
    const std::string name = entry.path().filename().string();
    if (IsDisplaySink(name)) continue;
    fs::create_symlink(entry.path(), plugins / name, error);
  }
  setenv("GST_PLUGIN_SYSTEM_PATH_1_0", plugins.c_str(), 1);
  setenv("GST_REGISTRY_1_0", (fs::path(dir) / "gst-registry.bin").c_str(), 1);
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

const std::string& GuiTestConfigDir() { return g_configDir; }

void ResetTestConfig() {
  const std::string file = g_configDir + "/ostrel-test.ini";
  delete wxConfigBase::Set(nullptr);
  std::filesystem::remove(file);
  wxConfigBase::Set(new wxFileConfig("Ostrel 3", "Harwelco", file, wxEmptyString, wxCONFIG_USE_LOCAL_FILE));
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);

  const TempDir runDir;
  g_configDir = runDir.Path();
  setenv("HOME", g_configDir.c_str(), 1);
  setenv("XDG_CONFIG_HOME", g_configDir.c_str(), 1);
  // No sound or video sink is needed, and no session bus is started.
  setenv("GST_AUDIOSINK", "fakesink", 0);
  HideVideoSinks(g_configDir);

  if (!wxEntryStart(argc, argv) || !wxTheApp || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "window tests: the toolkit could not start (no display?)\n");
    return 3;
  }
  wxApp::SetInstance(wxTheApp);
  wxTheApp->SetVendorName("Harwelco");
  wxTheApp->SetAppName("Ostrel 3");
  wxInitAllImageHandlers();
  // Errors a test provokes on purpose go to stderr instead of a modal box.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  ResetTestConfig();
  wxSetAssertHandler(FailOnAssert);

  int result = 0;
  {
    const DialogSafetyNet safetyNet;
    result = RUN_ALL_TESTS();
  }

  delete wxConfigBase::Set(nullptr);
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
