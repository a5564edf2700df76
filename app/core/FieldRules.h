// The character rules of the window's fields: integer fields and output names.
#pragma once

#include <string>

/// True when the text is one or more of the digits 0 to 9 and nothing else:
/// no sign, blank or separator. The empty text is not an integer.
bool IsDigitsOnly(const std::string& text);

/// True when every byte of the name is allowed in an output file name: letters,
/// digits, blank, "-./:;\]_" and every byte from 128 on (so multi-byte UTF-8
/// letters pass). The empty name is allowed.
bool IsAllowedFileName(const std::string& name);
