// The program's entry: the toolkit's build-options check, then OstrelApp.
#include "OstrelApp.h"
#include "platform/keProcessStart.h"

// Before the toolkit opens anything (see keProcessStart.h).
[[maybe_unused]] static const bool gProcessSettled = (kePlatform::SettleProcessStart(), true);

wxIMPLEMENT_APP(OstrelApp);
