// Writes the container header: the file's property list, the content table
// with every content's offsets and properties, and the 40-byte key under
// which everything after the first 64 bytes is scrambled.
//
// WriteHeader runs once on the output thread; it starts every stream manager
// and blocks until each content is complete, so it returns only when the
// encode is over. Abort may be raised from any thread at any time: no header
// is written then.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "keAbstractOrvexaContent.h"
#include "keLog.h"
#include "keOrvexaPropertyList.h"
#include "keOutputStream.h"

constexpr int32_t kOrvexaHeaderKeyLength = 40;

class keOrvexaWriter : public keOrvexaElement {
 public:
  /// `out` (not owned) receives the header.
  explicit keOrvexaWriter(keOutputStream* out);
  ~keOrvexaWriter() override;

  /// Appends a content; the writer owns it.
  void AddContent(keAbstractOrvexaContent* content);
  int32_t ContentCount() const { return static_cast<int32_t>(children_.size()); }
  keAbstractOrvexaContent* GetContent(int32_t index) const;

  int32_t HeaderSize();
  /// Starts and waits for every content, moves the one closest to the target
  /// bitrate to the head and writes the scrambled header (not on abort).
  void WriteHeader();
  /// Scrambles buffer[start, end) in place with `key`. Only mode 1 exists;
  /// any other mode ends the process.
  static void ScrambleHeader(uint8_t* buffer, int32_t start, int32_t end, int32_t mode,
                             const uint8_t key[kOrvexaHeaderKeyLength]);

  void SetAbort(bool abort) { abort_ = abort; }
  bool IsAborted() const { return abort_; }
  /// True once a header has been written to the output.
  bool HeaderWritten() const { return headerWritten_; }

 private:
  void AppendWriterProperties();
  void MoveClosestToTargetToHead();
  void BuildAndWrite(const uint8_t key[kOrvexaHeaderKeyLength]);

  std::atomic<bool> abort_{false};
  char* securityKey_ = nullptr;
  char* contentExpiryDate_ = nullptr;
  int32_t encoderType_ = 0;
  int32_t targetBitrate_ = 390000;
  keOutputStream* out_;
  keLog* log_;
  bool headerWritten_ = false;
};
