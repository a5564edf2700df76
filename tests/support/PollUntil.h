// The tests' one wait for something that happens on another thread or in
// another process: a deadline turns a regression into a failure in seconds
// instead of a hang until CTest's time-out.
#pragma once

#include <functional>

/// Polls `done` until it holds, running `meanwhile` between two polls (the
/// window tests let the toolkit handle its events there); false once `seconds`
/// have passed.
bool PollUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& meanwhile = {});
