// The program-wide edit flags of the security file manager.
#include "securityEditFlags.h"

bool securityEditFlags::codeBaseEdited = false;
bool securityEditFlags::documentBaseEdited = false;
