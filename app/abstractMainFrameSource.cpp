// Before a run: choosing the source and the output file, probing the source
// for its facts, and the preview of its first picture.
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/intl.h>
#include <wx/mediactrl.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "PreviewControls.h"
#include "ProductVersion.h"
#include "SourceProbe.h"
#include "abstractMainFrame.h"
#include "platform/kePath.h"
#include "appUtils.h"
#include "keFactory.h"

namespace {

// The folder a dialog opens in: the field's folder, or home for an empty field.
wxString StartDirectory(const wxTextCtrl* field) {
  const wxString text = field->GetValue();
  return text.empty() ? wxGetHomeDir() : text.BeforeLast(kePlatform::kPathSeparator);
}

// The fact displays are disabled text fields in the main window; labels
// serve as well. ChangeValue: nothing listens to these fields.
void ShowFact(wxWindow* display, const wxString& text) {
  if (!display) return;
  if (auto* field = wxDynamicCast(display, wxTextCtrl)) {
    field->ChangeValue(text);
  } else {
    display->SetLabel(text);
  }
}

// The chosen path. The GTK dialog reads it back from its widget, which holds
// nothing when the path was given by code (the testing hooks) rather than
// picked; the folder and the name are kept either way.
wxString ChosenPath(const wxFileDialog& dialog) {
  const wxString path = dialog.GetPath();
  if (!path.empty() || dialog.GetFilename().empty()) return path;
  return dialog.GetDirectory() + "/" + dialog.GetFilename();
}

}  // namespace

bool abstractMainFrame::ChooseSourceFile(wxTextCtrl* input, wxTextCtrl* output, wxWindow* parent) {
  wxFileDialog dialog(parent, _("Choose your source file name "), StartDirectory(input), wxEmptyString,
                      _("Files (avi,mpg,mpeg,mov,mp4,3gp,mp3,wav,flv)|*.avi;*.mpg;*.mpeg;*.mov;*.mp4;*.3gp;"
                        "*.mp3;*.wav;*.flv|All files (*.*)|*.*"),
                      wxFD_OPEN);
  dialog.Centre(wxBOTH);
  if (dialog.ShowModal() != wxID_OK) return false;

  const wxString path = ChosenPath(dialog);
  const wxString dir = path.BeforeLast(kePlatform::kPathSeparator);
  const wxString base = path.AfterLast(kePlatform::kPathSeparator).BeforeLast('.');
  input->SetValue(path);  // the main window probes it on the change

  const wxString outputDir =
      output->GetValue().empty() ? dir : output->GetValue().BeforeLast(kePlatform::kPathSeparator);
  output->SetValue(outputDir + "/" + base + "." + outputExtension);
  return true;
}

void abstractMainFrame::ChooseOutputFile(wxTextCtrl* output, wxWindow* parent) {
  const wxString& ext = outputExtension;
  wxFileDialog dialog(parent, _("Set your output file name"), StartDirectory(output), wxEmptyString,
                      wxGetTranslation(ext + " files (." + ext + ")|*." + ext), wxFD_SAVE);
  dialog.Centre(wxBOTH);
  // Save-style, so that a new name can be typed. No overwrite question of
  // its own: the checks before a run ask it. Nor is the extension corrected
  // here: those checks refuse a wrong one.
  if (dialog.ShowModal() == wxID_OK) output->SetValue(ChosenPath(dialog));
}

void abstractMainFrame::ProbeSource(wxWindow* width, wxWindow* height, wxWindow* duration, wxWindow* frameRate,
                                    wxWindow* channels, wxWindow* sampleRate, wxTextCtrl* input, wxButton* encodeButton,
                                    wxMediaCtrl* media, wxFrame* target) {
  const wxString path = input->GetValue();
  // Typing a path probes at every key: a partial one changes nothing.
  if (path.empty() || !wxFileExists(path)) return;

  sourceWidth = 0;
  sourceHeight = 0;
  ShowFact(width, "0");
  ShowFact(height, "0");
  ShowFact(duration, "0:0");
  if (target) target->Refresh();

  keFactory factory;
  const SourceProbe probe = ::ProbeSource(factory, path.utf8_string());

  sourceWidth = probe.width;
  sourceHeight = probe.height;
  ShowFact(width, wxString::Format("%d", sourceWidth));
  ShowFact(height, wxString::Format("%d", sourceHeight));
  // The probe gives -1 for a length it cannot read: shown as no length.
  ShowFact(duration, AppUtils().FormatHMS(probe.duration > 0.0 ? static_cast<int>(probe.duration) : 0));
  ShowFact(frameRate, wxString::Format("%2.2f", probe.frameRate));
  ShowFact(channels, probe.channels == 1 ? "Mono" : "Stereo");
  ShowFact(sampleRate, wxString::Format("%d", probe.sampleRate));

  const bool encodable = probe.Encodable();
  if (!encodable) {
    wxMessageBox(wxString(_("Unable to find any audio/video codec.\n\n")) +
                     _("Perhaps an appropriate audio/video codec is not present in the system.\n\n") +
                     _("Try to download it by visiting the appropriate website.\n"),
                 kEditionTitle, wxOK | wxICON_INFORMATION, target);
  }
  // While a run lasts its Encode button is the only way left to cancel it
  // (the menu item and the tool are off): the verdict on a source typed
  // meanwhile waits for the window's return to idle.
  if (session) {
    encodeVerdictAfterRun = encodable;
  } else if (encodeButton) {
    encodeButton->Enable(encodable);
  }

  // The preview shows the start of the file: OnMediaLoaded holds it there.
  PreviewControls::LoadSource(media, path);
}

// Held paused, not stopped: the toolkit's GStreamer backend blanks the
// picture on a stop, and the preview is there to show the first one.
void abstractMainFrame::OnMediaLoaded(wxMediaCtrl* media) {
  if (media) media->Pause();
}
