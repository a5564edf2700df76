// The main window's built-in pictures: the toolbar's tools and the icon.
#include "mainFrame.h"

#include "_images/exefile.xpm"
#include "_images/help.xpm"
#include "_images/open.xpm"
#include "_images/save.xpm"
#include "../ostrelCommon/find.xpm"
#include "../ostrelCommon/ostrel_ico.xpm"

// Names are compared exactly: any other spelling gives the empty picture.
wxBitmap mainFrame::GetBitmapResource(const wxString& name) {
  if (name == "_images/open.xpm") return wxBitmap(open_xpm);
  if (name == "_images/save.xpm") return wxBitmap(save_xpm);
  if (name == "_images/exefile.xpm") return wxBitmap(exefile_xpm);
  if (name == "../ostrelCommon/find.xpm") return wxBitmap(find_xpm);
  if (name == "_images/help.xpm") return wxBitmap(help_xpm);
  return wxNullBitmap;
}

wxIcon mainFrame::GetIconResource(const wxString& name) {
  if (name == "../ostrelCommon/ostrel_ico.xpm") return wxIcon(ostrel_ico_xpm);
  return wxNullIcon;
}
