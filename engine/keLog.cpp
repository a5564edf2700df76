#include "keLog.h"

#include <cstring>

#include "keAlloc.h"

namespace {
constexpr size_t kLineSize = 100;
}

keLog::keLog(const char* label)
    : label_(keStrDup(label ? label : "")), line_(static_cast<char*>(keAlloc(kLineSize))), mutex_(false, "keLogMutex") {
  if (line_) std::memset(line_, 0, kLineSize);
  mutex_.Lock();
  mutex_.Unlock();
}

keLog::~keLog() {
  mutex_.Lock();
  keFree(label_);
  if (line_) std::memset(line_, 0, kLineSize);
  keFree(line_);
  mutex_.Unlock();
  mutex_.Close();
}

void keLog::Log(const char* /*text*/) {
  mutex_.Lock();
  mutex_.Unlock();
}

keLog* keCreateLog(const char* label) { return new keLog(label); }
