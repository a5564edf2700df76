#include "PollUntil.h"

#include <chrono>
#include <thread>

bool PollUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& meanwhile) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (meanwhile) meanwhile();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
