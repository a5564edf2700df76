// Files for the protection tests: the expected files kept beside the tests. The scratch
// folder and the whole-file reads and writes are the shared ones of tests/support, which
// come with this header.
#pragma once

#include <string>

#include "TempDir.h"
#include "TestFiles.h"

/// The bytes of tests/protection/expected/<name>.
std::string ExpectedFile(const std::string& name);

/// Compares the bytes with the expected file; on a difference the actual bytes are left in
/// the working folder as <name>.actual for inspection.
void ExpectMatchesExpectedFile(const std::string& actual, const std::string& name);
