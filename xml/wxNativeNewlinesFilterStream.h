// Output filter that writes every "\n" as the platform's line end.
#pragma once

#include <wx/stream.h>

#include <string>

class wxNativeNewlinesFilterStream : public wxFilterOutputStream {
 public:
  /// Filters into the parent, which stays open and owned by the caller. The line end is the
  /// platform's unless given (tests use "\r\n" on platforms whose own end is "\n").
  explicit wxNativeNewlinesFilterStream(wxOutputStream& parent, const std::string& lineEnd = NativeLineEnd());
  ~wxNativeNewlinesFilterStream() override;

  /// The platform's line end: "\r\n" on Windows, "\n" elsewhere.
  static std::string NativeLineEnd();

 protected:
  /// With a "\n" line end the block goes through unchanged. Otherwise every "\n" byte is
  /// written as the line end and every other byte as itself, one parent write each (a CR
  /// already in the data passes unchanged, so CR LF becomes CR CR LF). Returns the number
  /// of input bytes taken; when the parent fails, the bytes taken before the failure, with
  /// this stream's error set.
  size_t OnSysWrite(const void* buffer, size_t size) override;

 private:
  std::string m_lineEnd;
};
