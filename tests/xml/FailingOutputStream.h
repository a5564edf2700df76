// An output stream that takes a fixed number of bytes and then fails, for the write-error paths.
#pragma once

#include <wx/stream.h>

#include <string>

class FailingOutputStream : public wxOutputStream {
 public:
  explicit FailingOutputStream(size_t capacity) : m_capacity(capacity) {}

  const std::string& Received() const { return m_received; }

 protected:
  size_t OnSysWrite(const void* buffer, size_t size) override {
    const size_t room = m_capacity - m_received.size();
    const size_t taken = size < room ? size : room;
    m_received.append(static_cast<const char*>(buffer), taken);
    if (taken < size) m_lasterror = wxSTREAM_WRITE_ERROR;
    return taken;
  }

 private:
  size_t m_capacity;
  std::string m_received;
};
