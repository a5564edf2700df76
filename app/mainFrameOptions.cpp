// The option check boxes and the rules between them: "Generate HTML page"
// governs "Show video" and "Graphic Toolbar"; "Maintain Aspect Ratio" and
// "Maintain Source Dimension" exclude each other and lock size columns.
// Setting a tick from code raises no event, so each rule is one function,
// applied by the box's handler and by LoadSettings alike.
#include <wx/checkbox.h>

#include "mainFrame.h"

namespace {

// The two size boxes exclude each other: ticked, the chosen one unticks and
// disables the other; cleared, it frees it.
void ApplyExclusion(wxCheckBox* chosen, wxCheckBox* other) {
  chosen->Enable();
  if (chosen->GetValue()) {
    other->SetValue(false);
    other->Disable();
  } else {
    other->Enable();
  }
}

}  // namespace

void mainFrame::ApplyHtmlPageChoice() {
  // Without a page there is nothing to show or to dress with a toolbar.
  if (htmlPageCheck->GetValue()) {
    showVideoCheck->Enable();
    graphicToolbarCheck->Enable();
    return;
  }
  showVideoCheck->SetValue(false);
  showVideoCheck->Disable();
  graphicToolbarCheck->SetValue(false);
  graphicToolbarCheck->Disable();
}

void mainFrame::ApplyAspectRatioChoice() {
  ApplyExclusion(aspectRatioCheck, sourceDimensionCheck);
  UpdateAspectRatioColumns();
}

void mainFrame::ApplySourceDimensionChoice() {
  ApplyExclusion(sourceDimensionCheck, aspectRatioCheck);
  UpdateSourceDimensionColumns();
}

void mainFrame::ApplyOptionChoices() {
  ApplyHtmlPageChoice();
  // The ticked size box's rule last, so that its locks stand; with both
  // ticked the source's size wins, as it does in the encode.
  if (sourceDimensionCheck->GetValue()) {
    ApplySourceDimensionChoice();
  } else {
    ApplySourceDimensionChoice();
    ApplyAspectRatioChoice();
  }
}

void mainFrame::OnGenerateHtmlPage(wxCommandEvent&) { ApplyHtmlPageChoice(); }

void mainFrame::OnMaintainAspectRatio(wxCommandEvent&) { ApplyAspectRatioChoice(); }

void mainFrame::OnMaintainSourceDimension(wxCommandEvent&) { ApplySourceDimensionChoice(); }
