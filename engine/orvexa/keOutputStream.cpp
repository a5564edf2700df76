#include "keOutputStream.h"

AbstractOutputStream::AbstractOutputStream() : closedEvent_(false, "streamClosedEvent AbstractOutputStream") {}

AbstractOutputStream::~AbstractOutputStream() { closedEvent_.Close(); }

void AbstractOutputStream::WaitClosed() { closedEvent_.Wait(keINFINITE); }

void AbstractOutputStream::SetClosed() {
  closed_ = true;
  closedEvent_.Set();
}

void AbstractOutputStream::SetFailed(const std::string& reason) {
  if (failure_.empty()) failure_ = reason;
}
