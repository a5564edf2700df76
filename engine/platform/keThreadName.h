// Names the calling thread so that debuggers and profilers show it.
#pragma once

namespace kePlatform {

/// Sets the calling thread's name (truncated to what the system keeps).
void SetCurrentThreadName(const char* name);

}  // namespace kePlatform
