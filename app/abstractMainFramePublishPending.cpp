// Holds the place of the HTML page writer in builds that do not have it yet,
// so that the program links; it writes nothing. Remove this file once
// abstractMainFrameHtml.cpp is part of the tree. Weak, so that an object
// left from an earlier build never wins over the writer itself.
#if !__has_include("abstractMainFrameHtml.cpp")
#include "abstractMainFrame.h"

__attribute__((weak)) void abstractMainFrame::WriteHtmlPage(bool, bool) {}
#endif
