// Shared by the window tests (see GuiTestMain.cpp); their dialogs are
// answered through ModalExpectations.h.
#pragma once

#include <functional>
#include <string>

/// The run's own temporary folder; HOME points there too.
const std::string& GuiTestConfigDir();

/// Gives the program a fresh, empty configuration file in that folder.
void ResetTestConfig();

/// Yields to the toolkit until `done` holds; false after `seconds`.
bool WaitUntil(const std::function<bool()>& done, double seconds);
