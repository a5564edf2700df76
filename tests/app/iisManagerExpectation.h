// Answers the IIS dialog in window tests: optionally looks at it, then presses
// one of its buttons (or closes it) as the user would.
#pragma once

#include "AppTestSupport.h"

#include <wx/button.h>

#include <functional>

#include "iisManager.h"

/// The way out of the dialog a test takes.
enum class IisAnswer { Ok, Cancel, Close };

template <>
class wxExpectModal<iisManager> : public wxExpectModalBase<iisManager> {
 public:
  explicit wxExpectModal(IisAnswer answer, std::function<void(iisManager&)> inspect = {})
      : answer_(answer), inspect_(std::move(inspect)) {}

 protected:
  int OnInvoked(iisManager* dialog) const override {
    if (inspect_) inspect_(*dialog);
    if (answer_ == IisAnswer::Close) {
      dialog->Close();
    } else {
      const int id = answer_ == IisAnswer::Ok ? ID_IIS_OK : ID_IIS_CANCEL;
      wxCommandEvent click(wxEVT_BUTTON, id);
      click.SetEventObject(dialog->FindWindow(id));
      dialog->ProcessWindowEvent(click);
    }
    return dialog->GetReturnCode();
  }

 private:
  IisAnswer answer_;
  std::function<void(iisManager&)> inspect_;
};
