// The expectations that window tests use to answer the two protection dialogs.
#include "ProtectionDialogExpectations.h"

#include <wx/frame.h>

TEST(ProtectionDialogExpectations, AnswerDialogsCreatedAsTheWindowCreatesThem) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "window");
  const long style = wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX;

  auto* phrase = new securityKeyDialog(frame, 10000, "Secret Phrase", wxDefaultPosition, wxSize(400, 300), style);
  int code = 0;
  wxTEST_DIALOG(code = phrase->ShowModal(), wxExpectModal<securityKeyDialog>());
  EXPECT_EQ(code, 10004);
  EXPECT_EQ(phrase->GetParent(), frame);
  phrase->Destroy();

  auto* manager = new securityDialog(frame, 10002, "securityDialog", wxDefaultPosition, wxSize(400, 300), style);
  wxTEST_DIALOG(code = manager->ShowModal(), wxExpectModal<securityDialog>(wxID_OK));
  EXPECT_EQ(code, wxID_OK);
  manager->Destroy();
  frame->Destroy();
}
