// Closing the window and the Exit command: refused while an encode runs.
#include <wx/checkbox.h>

#include "AppTestSupport.h"

namespace {

class CloseTest : public AppTest {};

TEST_F(CloseTest, ClosingDuringAnEncodeIsRefusedAndWorksAfterIt) {
  BuildQuietFrame();
  frame->runningCheck->SetValue(true);
  EXPECT_FALSE(frame->Close(false));
  EXPECT_FALSE(IsDestroyed(frame));
  // The window is left to the run even when the request cannot be refused.
  frame->Close(true);
  EXPECT_FALSE(IsDestroyed(frame));

  frame->runningCheck->SetValue(false);
  EXPECT_TRUE(frame->Close(false));
  EXPECT_TRUE(IsDestroyed(frame));
}

TEST_F(CloseTest, ExitDestroysTheWindowUnlessAnEncodeRuns) {
  BuildQuietFrame();
  frame->runningCheck->SetValue(true);
  EXPECT_NO_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_EXIT));
  EXPECT_FALSE(IsDestroyed(frame));
  frame->runningCheck->SetValue(false);
  EXPECT_NO_DIALOG(SendCommand(frame, wxEVT_MENU, ID_MENU_EXIT));
  EXPECT_TRUE(IsDestroyed(frame));
}

}  // namespace
