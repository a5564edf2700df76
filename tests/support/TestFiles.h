// Whole files for the tests, free of any toolkit so that the GUI-free and
// sanitizer builds use them too: the content of a file as one string (bytes,
// not text: nothing is converted), the same as bytes for the parsers of binary
// containers, writing it back, and whether a path is there.
#pragma once

#include <string>
#include <vector>

/// The file's content; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

/// The same content as bytes, for the tests that take a container apart.
std::vector<unsigned char> ReadWholeFileBytes(const std::string& path);

/// Replaces the file's content with `bytes` (creating the file); false when it
/// cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

/// True when something (a file, a folder, a link that leads somewhere) is at the path.
bool FileExists(const std::string& path);
