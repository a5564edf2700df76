// The real launcher.
#include "SystemLauncher.h"

#include <wx/filefn.h>
#include <wx/process.h>
#include <wx/utils.h>

namespace {

// xdg-open ends with a non-zero status when it finds no browser to hand the
// page to; the toolkit tells only stderr, so the failure is passed on here.
class OpenerWatch : public wxProcess {
 public:
  explicit OpenerWatch(std::function<void()> failed) : failed(std::move(failed)) {}

  void OnTerminate(int, int status) override {
    if (status != 0 && failed) failed();
    delete this;
  }

 private:
  std::function<void()> failed;
};

}  // namespace

bool SystemLauncher::OpenInBrowser(const std::string& address, std::function<void()> failedLater) {
  // Without an opener on the PATH the toolkit would still fork, and the
  // child's failure would reach stderr only.
  wxPathList path;
  path.AddEnvList("PATH");
  const wxString program = path.FindAbsoluteValidPath("xdg-open");
  if (program.empty()) return false;
  // An argument vector, not a command line: the address reaches xdg-open as
  // one argument whatever blanks or quotes it holds.
  const wxString argument = wxString::FromUTF8(address);
  const wchar_t* argv[] = {program.wc_str(), argument.wc_str(), nullptr};
  auto* watch = new OpenerWatch(std::move(failedLater));
  if (wxExecute(argv, wxEXEC_ASYNC, watch) > 0) return true;
  delete watch;
  return false;
}

bool SystemLauncher::StartDetached(const std::string& commandLine, const std::string& workingDir) {
  wxExecuteEnv env;
  env.cwd = wxString::FromUTF8(workingDir);
  return wxExecute(wxString::FromUTF8(commandLine), wxEXEC_ASYNC, nullptr, &env) > 0;
}
