// The tests' one scratch folder: a fresh directory under the system's
// temporary directory, removed with everything in it when the object goes.
#pragma once

#include <string>
#include <vector>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  /// Names of the entries in the directory, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};
