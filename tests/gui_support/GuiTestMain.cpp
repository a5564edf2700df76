// Entry of the window tests: GoogleTest over a running toolkit (no main
// loop; tests yield to it), with HOME and the configuration in a temporary
// folder of the run's own, so that no test ever reads or writes the user's
// settings. Needs a display: CTest runs these under Xvfb.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "GuiTestSupport.h"

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

std::string g_configDir;

// The media preview's X video sinks open their own display connection on a
// streaming thread; one still prerolling when a test process ends races the
// toolkit's exit and crashes it; the DirectFB sink, picked in their place,
// crashes on its own dispatch thread on a virtual display. The tests see
// GStreamer's plugins without those sinks, as on a machine without them: the window then builds its
// preview without a picture, which is the case these tests must cover anyway.
void HideXVideoSinks(const std::string& dir) {
  namespace fs = std::filesystem;
  const fs::path system = "/usr/lib/x86_64-linux-gnu/gstreamer-1.0";
  std::error_code error;
  if (!fs::is_directory(system, error)) return;
  const fs::path plugins = fs::path(dir) / "gst-plugins";
  fs::create_directories(plugins, error);
  for (const auto& entry : fs::directory_iterator(system, error)) {
    const std::string name = entry.path().filename().string();
    if (name == "libgstximagesink.so" || name == "libgstxvimagesink.so" || name == "libgstdirectfb.so") continue;
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

  char pattern[] = "/tmp/ostrel-gui-test-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) return 3;
  g_configDir = dir;
  setenv("HOME", dir, 1);
  setenv("XDG_CONFIG_HOME", dir, 1);
  // No sound or video sink is needed, and no session bus is started.
  setenv("GST_AUDIOSINK", "fakesink", 0);
  HideXVideoSinks(g_configDir);

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

  const int result = RUN_ALL_TESTS();

  delete wxConfigBase::Set(nullptr);
  wxTheApp->OnExit();
  wxEntryCleanup();
  std::filesystem::remove_all(g_configDir);
  return result;
}
