// The menu bar (File, Encode, Options, Help, the Security menu kept aside),
// the toolbar's five tools and the status bar's three fields.
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "AppTestSupport.h"

namespace {

struct ItemCase {
  int id;  ///< wxID_SEPARATOR for a separator
  const char* label;
  const char* help;
};

void ExpectMenu(wxMenu* menu, const std::vector<ItemCase>& items) {
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->GetMenuItemCount(), items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i].label);
    const wxMenuItem* item = menu->FindItemByPosition(i);
    if (items[i].id == wxID_SEPARATOR) {
      EXPECT_TRUE(item->IsSeparator());
      continue;
    }
    EXPECT_EQ(item->GetId(), items[i].id);
    EXPECT_EQ(item->GetItemLabelText(), items[i].label);
    EXPECT_EQ(item->GetHelp(), items[i].help);
    EXPECT_EQ(item->GetKind(), wxITEM_NORMAL);
    EXPECT_TRUE(item->IsEnabled());
  }
}

class MenusTest : public AppTest {};

TEST_F(MenusTest, TheMenuBarShowsFourMenusWithTheirItems) {
  BuildQuietFrame();
  wxMenuBar* bar = frame->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 4u);
  EXPECT_EQ(bar->GetMenuLabelText(0), "File");
  EXPECT_EQ(bar->GetMenuLabelText(1), "Encode");
  EXPECT_EQ(bar->GetMenuLabelText(2), "Options");
  EXPECT_EQ(bar->GetMenuLabelText(3), "Help");
  EXPECT_EQ(bar->GetMenu(2), frame->optionsMenu);

  ExpectMenu(
      bar->GetMenu(0),
      {{10019, "Select input", ""}, {10034, "Select output", ""}, {wxID_SEPARATOR, "", ""}, {10017, "Exit", ""}});
  ExpectMenu(
      bar->GetMenu(1),
      {{10015, "Load settings", ""}, {10018, "Save settings", ""}, {wxID_SEPARATOR, "", ""}, {10035, "Encode", ""}});
  ExpectMenu(bar->GetMenu(2),
             {{10062, "Select path for temporary files", "Select directory where storage temporary files"}});
  ExpectMenu(bar->GetMenu(3), {{10023, "OnLine help", ""},
                               {10053, "Check for Updates", ""},
                               {10021, "Visit Harwelco website", ""},
                               {wxID_SEPARATOR, "", ""},
                               {10020, "About", ""}});
}

TEST_F(MenusTest, TheSecurityMenuIsKeptOffTheBar) {
  BuildQuietFrame();
  ExpectMenu(frame->securityMenu, {{10026, "Security Phrase", ""}, {10029, "Security File Manager", ""}});
  EXPECT_EQ(frame->securityMenu->GetMenuBar(), nullptr);
  wxMenuBar* bar = frame->GetMenuBar();
  EXPECT_EQ(bar->FindItem(10026), nullptr);
  EXPECT_EQ(bar->FindItem(10029), nullptr);
  EXPECT_EQ(bar->FindMenu("Security"), wxNOT_FOUND);
  EXPECT_EQ(frame->GetToolBar()->FindById(10026), nullptr);
  EXPECT_EQ(frame->GetToolBar()->FindById(10029), nullptr);
  EXPECT_EQ(wxWindow::FindWindowById(10026, frame), nullptr);
  EXPECT_EQ(wxWindow::FindWindowById(10029, frame), nullptr);
}

TEST_F(MenusTest, TheToolbarHoldsFiveToolsWithTheirTooltips) {
  BuildQuietFrame();
  wxToolBar* toolbar = frame->GetToolBar();
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->GetId(), ID_TOOLBAR);
  EXPECT_EQ(toolbar->GetName(), "toolbar");
  EXPECT_TRUE(toolbar->HasFlag(wxTB_FLAT));
  struct ToolCase {
    int id;
    const char* tooltip;
  };
  const std::vector<ToolCase> tools = {{10027, "Load settings"}, {10028, "Save settings"}, {wxID_SEPARATOR, ""},
                                       {10035, "Encode !"},      {wxID_SEPARATOR, ""},     {10033, "Check for Updates"},
                                       {10032, "OnLine Help"}};
  ASSERT_EQ(static_cast<size_t>(toolbar->GetToolsCount()), tools.size());
  for (size_t i = 0; i < tools.size(); ++i) {
    SCOPED_TRACE(tools[i].tooltip);
    const wxToolBarToolBase* tool = toolbar->GetToolByPos(static_cast<int>(i));
    if (tools[i].id == wxID_SEPARATOR) {
      EXPECT_TRUE(tool->IsSeparator());
      continue;
    }
    EXPECT_EQ(tool->GetId(), tools[i].id);
    EXPECT_EQ(tool->GetShortHelp(), tools[i].tooltip);
    EXPECT_EQ(tool->GetLongHelp(), "");
    EXPECT_EQ(tool->GetLabel(), "");
    EXPECT_TRUE(tool->GetNormalBitmap().IsOk());
  }
}

TEST_F(MenusTest, TheImageLookupKnowsItsNamesExactly) {
  BuildQuietFrame();
  struct ImageCase {
    const char* name;
    int width, height;
  };
  const std::vector<ImageCase> images = {{"_images/open.xpm", 16, 15},
                                         {"_images/save.xpm", 16, 15},
                                         {"_images/exefile.xpm", 16, 16},
                                         {"../ostrelCommon/find.xpm", 16, 15},
                                         {"_images/help.xpm", 16, 15}};
  for (const ImageCase& c : images) {
    SCOPED_TRACE(c.name);
    const wxBitmap bitmap = frame->GetBitmapResource(c.name);
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_EQ(bitmap.GetWidth(), c.width);
    EXPECT_EQ(bitmap.GetHeight(), c.height);
  }
  EXPECT_FALSE(frame->GetBitmapResource("_images/OPEN.xpm").IsOk());
  EXPECT_FALSE(frame->GetBitmapResource("../ostrelCommon/ostrel_ico.xpm").IsOk());
  const wxIcon icon = frame->GetIconResource("../ostrelCommon/ostrel_ico.xpm");
  ASSERT_TRUE(icon.IsOk());
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_EQ(icon.GetHeight(), 32);
  EXPECT_FALSE(frame->GetIconResource("_images/open.xpm").IsOk());
}

// The pictures as drawn: their sizes and numbers of colours, from the sources
// the program is built with.
TEST(ImageFilesTest, PicturesHaveTheirSizesAndColours) {
  struct FileCase {
    const char* path;
    const char* header;  ///< width, height, colours, characters per pixel
  };
  const std::vector<FileCase> files = {
      {"app/_images/open.xpm", "\"16 15 36 1\""},    {"app/_images/save.xpm", "\"16 15 21 1\""},
      {"app/_images/exefile.xpm", "\"16 16 51 1\""}, {"ostrelCommon/find.xpm", "\"16 15 41 1\""},
      {"app/_images/help.xpm", "\"16 15 50 1\""},    {"ostrelCommon/ostrel_ico.xpm", "\"32 32 184 2\""},
  };
  for (const FileCase& c : files) {
    SCOPED_TRACE(c.path);
    const std::string text = ReadWholeFile(std::string(OSTREL_SOURCE_DIR) + "/" + c.path);
    EXPECT_NE(text.find(c.header), std::string::npos);
  }
}

TEST_F(MenusTest, TheStatusBarHasThreeFields) {
  BuildQuietFrame();
  wxStatusBar* bar = frame->GetStatusBar();
  ASSERT_EQ(bar, frame->statusBar);
  EXPECT_EQ(bar->GetId(), ID_STATUS_BAR);
  EXPECT_EQ(bar->GetName(), "statusBar");
  ASSERT_EQ(bar->GetFieldsCount(), 3);
  EXPECT_EQ(bar->GetStatusText(0), "Ostrel Streaming Solution");
  EXPECT_EQ(bar->GetStatusText(1), "");
  EXPECT_EQ(bar->GetStatusText(2), "");
  wxRect first, second, third;
  bar->GetFieldRect(0, first);
  bar->GetFieldRect(1, second);
  bar->GetFieldRect(2, third);
  EXPECT_NEAR(first.width, second.width, 2);
  EXPECT_NEAR(second.width, third.width, 2);
}

}  // namespace
