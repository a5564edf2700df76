#include "keMutex.h"

#include <cstdlib>

keMutex::keMutex() : keMutex(false, nullptr) {}

keMutex::keMutex(bool initialOwner, const char* label) : handle_(kePlatform::AcquireNamedMutex(label)) {
  if (!handle_) std::exit(1);  // an engine without its locks cannot run
  if (initialOwner) handle_->lock();
}

keMutex::~keMutex() = default;

int keMutex::Lock() {
  handle_->lock();
  return 0;
}

void keMutex::Unlock() { handle_->unlock(); }

void keMutex::Close() { handle_.reset(); }
