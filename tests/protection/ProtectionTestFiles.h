// Files for the protection tests: a temporary folder per test, whole-file reads, and the
// expected files kept beside the tests.
#pragma once

#include <string>

/// A fresh folder, removed with everything in it when the object goes.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

/// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

/// The bytes of tests/protection/expected/<name>.
std::string ExpectedFile(const std::string& name);

/// Compares the bytes with the expected file; on a difference the actual bytes are left in
/// the working folder as <name>.actual for inspection.
void ExpectMatchesExpectedFile(const std::string& actual, const std::string& name);
