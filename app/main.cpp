// The program's entry: the toolkit's build-options check, then OstrelApp.
#include "OstrelApp.h"

wxIMPLEMENT_APP(OstrelApp);
