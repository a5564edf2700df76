#include "keEvent.h"

keEvent::keEvent(bool initialState, const char* /*label*/)
    : handle_(std::make_unique<kePlatform::ManualResetEvent>(initialState)) {}

keEvent::~keEvent() = default;

bool keEvent::Wait(uint32_t milliseconds) { return handle_->Wait(milliseconds); }

void keEvent::Set() { handle_->Set(); }

void keEvent::Reset() { handle_->Reset(); }

void keEvent::Close() { handle_.reset(); }
