// Starting a thread, with one way to fail: std::thread throws
// std::system_error when the system has no thread or stack to give, but
// std::bad_alloc when the memory for the state it allocates first cannot be
// had. Callers that catch the first would let the second unwind through
// objects that took the thread for started.
#pragma once

#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace kePlatform {

/// A thread running `body`; std::system_error when it cannot be had, for
/// want of memory too ("Cannot allocate memory").
template <class Body>
std::thread StartThread(Body&& body) {
  try {
    return std::thread(std::forward<Body>(body));
  } catch (const std::bad_alloc&) {
    throw std::system_error(std::make_error_code(std::errc::not_enough_memory));
  }
}

}  // namespace kePlatform
