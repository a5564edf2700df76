// Files for the protection tests.
#include "ProtectionTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-protection-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        m_path = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ExpectedFile(const std::string& name)
{
    const std::string path = std::string(PROTECTION_EXPECTED_DIR) + "/" + name;
    EXPECT_TRUE(FileExists(path)) << path;
    return ReadFileBytes(path);
}

void ExpectMatchesExpectedFile(const std::string& actual, const std::string& name)
{
    const std::string expected = ExpectedFile(name);
    EXPECT_EQ(actual, expected) << "differs from expected/" << name;
    if (actual != expected)
        WriteFileBytes(name + ".actual", actual);
}
