// A file system attribute (chattr +a or +i) set on a file or folder for the
// length of a test and taken off again, so that the scratch folder can go.
// Setting one needs the right to (the superuser) and a file system that
// keeps such attributes: Held() says whether it was set.
#pragma once

#include <string>

class ScopedFileAttribute {
 public:
  enum Attribute { kAppendOnly, kImmutable };
  ScopedFileAttribute(const std::string& path, Attribute attribute);
  ~ScopedFileAttribute();
  ScopedFileAttribute(const ScopedFileAttribute&) = delete;
  ScopedFileAttribute& operator=(const ScopedFileAttribute&) = delete;

  bool Held() const { return held_; }
  /// Why it could not be set, for a test that skips.
  const std::string& Failure() const { return failure_; }

 private:
  std::string path_;
  int flag_ = 0;
  bool held_ = false;
  std::string failure_;
};
