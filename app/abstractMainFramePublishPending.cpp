// Holds the place of the HTML page writer in builds that do not have it yet,
// so that the program links; it writes nothing. Remove this file once
// abstractMainFrameHtml.cpp is part of the tree.
#if !__has_include("abstractMainFrameHtml.cpp")
#include "abstractMainFrame.h"

void abstractMainFrame::WriteHtmlPage(bool, bool) {}
#endif
