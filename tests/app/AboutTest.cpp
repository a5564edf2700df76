// The About box: its texts, ids, picture, and that it goes away by itself.
#include "About.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

#include <set>
#include <vector>

namespace {

constexpr long kAboutStyle = wxCAPTION | wxRESIZE_BORDER | wxSYSTEM_MENU | wxCLOSE_BOX;

About* NewAbout(wxWindow* parent) {
  return new About(parent, 10022, "About", wxDefaultPosition, wxSize(420, 450), kAboutStyle);
}

// Lets the toolkit delete what was destroyed with delay.
void RunIdle() {
  for (int i = 0; i < 3; ++i) {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
  }
}

TEST(AboutTest, TextsIdsAndPicture) {
  About* about = NewAbout(nullptr);
  struct Label {
    int id;
    wxString text;
  };
  const std::vector<Label> labels = {
      {ID_ABOUT_TITLE, "Ostrel Standard Edition v.3 "},
      {ID_ABOUT_VERSION, "Version 3.0.1"},
      {ID_ABOUT_BUILD, "Build 305"},
      {ID_ABOUT_DATE, "24 June 2009"},
      {ID_ABOUT_OK, "Ok"},
  };
  for (const Label& l : labels) {
    SCOPED_TRACE(l.text);
    wxWindow* window = about->FindWindow(l.id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetLabel(), l.text);
  }
  const wxFont title = about->FindWindow(ID_ABOUT_TITLE)->GetFont();
  EXPECT_EQ(title.GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(title.GetPointSize(), 10);

  const wxString components = about->componentsText->GetLabel();
  EXPECT_EQ(components.Freq('\n'), 1u) << "two lines";
  EXPECT_TRUE(components.StartsWith("   KE:3.0.30-KEW:0.8.0")) << components;
  EXPECT_FALSE(about->noticeText->GetLabel().empty());

  EXPECT_EQ(about->picture->GetId(), ID_ABOUT_PICTURE);
  EXPECT_TRUE(about->picture->HasFlag(wxBORDER_SIMPLE));
  const wxBitmap bitmap = about->picture->GetBitmap();
  ASSERT_TRUE(bitmap.IsOk());
  EXPECT_EQ(bitmap.GetWidth(), 200);
  EXPECT_EQ(bitmap.GetHeight(), 147);
  const wxImage image = bitmap.ConvertToImage();
  std::set<unsigned long> colours;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      colours.insert(image.GetRed(x, y) << 16 | image.GetGreen(x, y) << 8 | image.GetBlue(x, y));
  EXPECT_EQ(colours.size(), 163u);
  EXPECT_TRUE(about->HasExtraStyle(wxWS_EX_BLOCK_EVENTS));
  about->Destroy();
  RunIdle();
}

TEST(AboutTest, OkAndTheCloseBoxEachDestroyOnlyTheirOwnBox) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "main");
  wxWeakRef<About> first = NewAbout(frame);
  wxWeakRef<About> second = NewAbout(frame);
  first->Show();
  second->Show();

  wxCommandEvent ok(wxEVT_BUTTON, ID_ABOUT_OK);
  ok.SetEventObject(first->okButton);
  first->okButton->GetEventHandler()->ProcessEvent(ok);
  RunIdle();
  EXPECT_FALSE(first) << "Ok destroys the box";
  ASSERT_TRUE(second) << "the other box stays";
  EXPECT_TRUE(second->IsShown());
  EXPECT_TRUE(frame->IsEnabled()) << "modeless: the main window stays usable";

  second->Close();
  RunIdle();
  EXPECT_FALSE(second) << "the close box destroys it too";
  frame->Destroy();
  RunIdle();
}

}  // namespace
