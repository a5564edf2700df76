#include "keFileOutputStream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/keFileKind.h"

namespace {
constexpr uint32_t kPadBlock = 1024;
constexpr int64_t kMinimumPaddedTail = 524288;  // the player reads this far past the header
constexpr size_t kReadBlock = 1 << 16;
}  // namespace

keFileOutputStream::keFileOutputStream(const char* path)
    : kind_(Kind::kDirect), path_(path ? path : ""), log_(keCreateLog("keFileOutputStream")) {
  file_ = std::fopen(path_.c_str(), "wb");
  if (!file_) SetFailed("cannot open \"" + path_ + "\" for writing: " + std::strerror(errno));
}

keFileOutputStream::keFileOutputStream(const char* directory, bool temporary)
    : kind_(Kind::kTemporary),
      directory_(directory ? directory : ""),
      log_(keCreateLog("keFileOutputStream TEMPFILE")) {
  if (!temporary) return;
  std::string error;
  if (!unnamed_.Open(directory_, &error)) {
    SetFailed("cannot create a temporary file: " + error);
    return;
  }
  // A descriptor of its own, so that closing the FILE keeps the data readable.
  const int fd = dup(unnamed_.Descriptor());
  file_ = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file_) {
    SetFailed("cannot open a temporary file in \"" + directory_ + "\": " + std::strerror(errno));
    if (fd >= 0) close(fd);
    unnamed_.Discard();
  }
}

keFileOutputStream::keFileOutputStream(Kind kind, const char* path)
    : kind_(kind), path_(path ? path : ""), log_(keCreateLog("keFileOutputStream")) {}

keFileOutputStream* keFileOutputStream::Staged(const char* finalPath) {
  return new keFileOutputStream(Kind::kStaged, finalPath);
}

keFileOutputStream::~keFileOutputStream() {
  CloseHandle();
  unnamed_.Discard();
  delete log_;
}

std::string keFileOutputStream::Describe() const {
  if (kind_ == Kind::kTemporary) return "a temporary file in \"" + directory_ + "\"";
  return "\"" + path_ + "\"";
}

bool keFileOutputStream::Open() {
  if (kind_ != Kind::kStaged || file_ || HasFailed() || IsClosed()) return !HasFailed();
  std::string error;
  // Checked at the moment of writing, whoever set the path: a device, a pipe
  // or a protected file is never replaced, and a link is written through.
  if (!kePlatform::CheckOutputFile(path_, &error)) {
    SetFailed(error);
    return false;
  }
  target_ = kePlatform::ResolveOutputPath(path_);
  if (!unnamed_.OpenToPublish(target_, &error)) {
    SetFailed("cannot write \"" + path_ + "\": " + error);
    return false;
  }
  const int fd = dup(unnamed_.Descriptor());
  file_ = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file_) {
    SetFailed("cannot write \"" + path_ + "\": " + std::strerror(errno));
    if (fd >= 0) close(fd);
    unnamed_.Discard();
    return false;
  }
  return true;
}

void keFileOutputStream::Write(const uint8_t* data, int32_t length) {
  if (length < 1) return;
  if (HasFailed()) return;  // a file with a gap in it is worth nothing
  if (!file_) {
    SetFailed("cannot write " + Describe() + ": the file is not open");
    return;
  }
  size_t written = std::fwrite(data, 1, static_cast<size_t>(length), file_);
  bytesWritten_ += static_cast<int64_t>(written);
  if (written != static_cast<size_t>(length) || std::fflush(file_) != 0)
    SetFailed("cannot write " + Describe() + ": " + std::strerror(errno));
}

void keFileOutputStream::Pad(uint32_t headerSize) {
  int32_t missing = static_cast<int32_t>(static_cast<int64_t>(headerSize) - static_cast<uint32_t>(bytesWritten_) +
                                         kMinimumPaddedTail);
  if (missing <= 0 || !file_) return;
  std::fseek(file_, 0, SEEK_END);
  std::vector<uint8_t> zeros(kPadBlock, 0);
  for (uint32_t blocks = (static_cast<uint32_t>(missing) + kPadBlock - 1) / kPadBlock; blocks > 0 && !HasFailed();
       --blocks)
    Write(zeros.data(), kPadBlock);
}

void keFileOutputStream::CloseHandle() {
  if (!file_) return;
  if (std::fflush(file_) != 0) SetFailed("cannot write " + Describe() + ": " + std::strerror(errno));
  if (std::fclose(file_) != 0) SetFailed("cannot close " + Describe() + ": " + std::strerror(errno));
  file_ = nullptr;
}

void keFileOutputStream::Close() {
  if (IsClosed()) return;
  CloseHandle();
  SetClosed();
}

bool keFileOutputStream::Publish() {
  if (kind_ != Kind::kStaged) return !HasFailed();
  if (HasFailed()) return false;
  Close();
  std::string error;
  if (HasFailed() || !unnamed_.Publish(target_, &error)) {
    if (!error.empty()) SetFailed(error);
    unnamed_.Discard();
    return false;
  }
  unnamed_.Discard();  // named now: closing keeps it
  return true;
}

void keFileOutputStream::Discard() {
  if (kind_ == Kind::kDirect) return;
  CloseHandle();
  unnamed_.Discard();
}

bool keFileOutputStream::ReadBack(const std::function<bool(const uint8_t*, size_t)>& sink, std::string* error) {
  if (file_ && std::fflush(file_) != 0) {
    if (error) *error = "cannot write " + Describe() + ": " + std::strerror(errno);
    return false;
  }
  if (!unnamed_.IsOpen()) {
    if (error) *error = "cannot read back " + Describe() + ": the file is not open";
    return false;
  }
  std::vector<uint8_t> block(kReadBlock);
  off_t offset = 0;
  for (;;) {
    const ssize_t got = pread(unnamed_.Descriptor(), block.data(), block.size(), offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (error) *error = "cannot read back " + Describe() + ": " + std::strerror(errno);
      return false;
    }
    if (got == 0) return true;
    offset += got;
    if (!sink(block.data(), static_cast<size_t>(got))) return true;
  }
}
