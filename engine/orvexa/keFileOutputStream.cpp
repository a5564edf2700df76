#include "keFileOutputStream.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "keTempFile.h"

namespace {
constexpr uint32_t kPadBlock = 1024;
constexpr int64_t kMinimumPaddedTail = 524288;  // the player reads this far past the header
}  // namespace

keFileOutputStream::keFileOutputStream(const char* path)
    : path_(path ? path : ""), log_(keCreateLog("keFileOutputStream")) {
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) SetFailed("cannot open \"" + path_ + "\" for writing: " + std::strerror(errno));
}

keFileOutputStream::keFileOutputStream(const char* directory, bool temporary)
    : log_(keCreateLog("keFileOutputStream TEMPFILE")) {
  if (!temporary) return;
  std::string error;
  file_ = kePlatform::CreateUniqueTempFile(directory ? directory : "", path_, error);
  if (!file_) SetFailed(error);
}

keFileOutputStream::~keFileOutputStream() {
  delete log_;
}

void keFileOutputStream::Write(const uint8_t* data, int32_t length) {
  if (length < 1) return;
  if (!file_) {
    SetFailed("cannot write \"" + path_ + "\": the file is not open");
    return;
  }
  if (HasFailed()) return;  // a file with a gap in it is worth nothing
  size_t written = std::fwrite(data, 1, static_cast<size_t>(length), file_);
  bytesWritten_ += static_cast<int64_t>(written);
  if (written != static_cast<size_t>(length) || std::fflush(file_) != 0)
    SetFailed("cannot write \"" + path_ + "\": " + std::strerror(errno));
}

void keFileOutputStream::Pad(uint32_t headerSize) {
  int32_t missing = static_cast<int32_t>(static_cast<int64_t>(headerSize) -
                                         static_cast<uint32_t>(bytesWritten_) + kMinimumPaddedTail);
  if (missing <= 0 || !file_) return;
  std::fseek(file_, 0, SEEK_END);
  std::vector<uint8_t> zeros(kPadBlock, 0);
  for (uint32_t blocks = (static_cast<uint32_t>(missing) + kPadBlock - 1) / kPadBlock; blocks > 0; --blocks)
    Write(zeros.data(), kPadBlock);
}

void keFileOutputStream::Close() {
  if (IsClosed()) return;
  if (file_) {
    if (std::fflush(file_) != 0) SetFailed("cannot write \"" + path_ + "\": " + std::strerror(errno));
    if (std::fclose(file_) != 0) SetFailed("cannot close \"" + path_ + "\": " + std::strerror(errno));
    file_ = nullptr;
  }
  SetClosed();
}
