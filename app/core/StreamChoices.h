// The choice lists of the streams grid's editors and the rule that raises an
// edited frame size to a multiple of 16.
#pragma once

#include <string>
#include <vector>

/// "992", "976", ... "16", "0": every multiple of 16 from 992 down to 0 (63 entries).
const std::vector<std::string>& SizeChoices();
/// "5" to "25" with "12.5" after "12" (22 entries).
const std::vector<std::string>& FpsChoices();
/// "8" to "196" (15 entries; the last is 196, not 192).
const std::vector<std::string>& AudioBitrateChoices();

/// The text's leading decimal digits as a number (0 without any), raised to the
/// next multiple of 16 unless it is one. Returns false, leaving `raised`
/// untouched, when the value already is a multiple of 16.
bool RaiseToSizeStep(const std::string& text, std::string* raised);
