// The real launcher.
#include "SystemLauncher.h"

#include <wx/utils.h>

bool SystemLauncher::OpenInBrowser(const std::string& address) {
  // An argument vector, not a command line: the address reaches xdg-open as
  // one argument whatever blanks or quotes it holds.
  const wxString program = "xdg-open";
  const wxString argument = wxString::FromUTF8(address);
  const wchar_t* argv[] = {program.wc_str(), argument.wc_str(), nullptr};
  return wxExecute(argv, wxEXEC_ASYNC) > 0;
}

bool SystemLauncher::StartDetached(const std::string& commandLine, const std::string& workingDir) {
  wxExecuteEnv env;
  env.cwd = wxString::FromUTF8(workingDir);
  return wxExecute(wxString::FromUTF8(commandLine), wxEXEC_ASYNC, nullptr, &env) > 0;
}
